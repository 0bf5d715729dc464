// CSocketMain against a peer of the test's own on 127.0.0.1 (a listening
// socket on a port the system picks), run for real on Winsock and threads.
#include <winsock2.h>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "net/CSocketMain.h"
#include "net/SocketConn.h"
#include "tests/net/LoopbackPeer.h"

namespace {

bool WaitUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
  DWORD start = GetTickCount();
  while (!done()) {
    if (GetTickCount() - start > timeoutMs) return false;
    Sleep(10);
  }
  return true;
}

// A client connected to its peer by dotted address.
class ConnectedClient : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(client.Init(L"127.0.0.1", peer.port()), 1);
    ASSERT_EQ(client.Start(), 1);
    ASSERT_NE(client.m_socket, INVALID_SOCKET);
    ASSERT_TRUE(peer.Accept());
  }

  void SendAndWait(unsigned int id, const std::string& text) {
    ASSERT_EQ(client.SendMsg(static_cast<int>(text.size()), text.data(), id), 1);
    ASSERT_EQ(peer.Receive(text.size()), Bytes(text.begin(), text.end()));
  }

  LoopbackPeer peer;
  CSocketMain client;
};

TEST_F(ConnectedClient, SendsCallerBytesAsTheyAre) {
  std::unique_ptr<MsgPacket> frame(new MsgPacket);
  frame->writeInt(0x01020304);
  frame->writeString("hi");
  ASSERT_EQ(client.SendMsg(frame->m_length, frame->m_data, 7), 1);
  EXPECT_EQ(peer.Receive(frame->m_length), (Bytes{1, 2, 3, 4, 0, 2, 'h', 'i'}));
}

// One stream holding every kind of frame: empty ones are skipped, id 0
// reaches RecvMsg as a 0 result, a frame too big for a packet is read and
// dropped, and every frame after them is still found where it starts.
TEST_F(ConnectedClient, ReceiveWorkerKeepsTheStreamInStep) {
  Bytes full(MsgPacket::kCapacity);
  for (size_t i = 0; i < full.size(); ++i) full[i] = static_cast<unsigned char>(i * 7);
  Bytes stream;
  for (const Bytes& frame :
       {Frame(5, {}, 8), Frame(6, {}, 3), Frame(77, {'Z'}), Frame(0, {'n', 'o'}),
        Frame(9, Bytes(65527, 0xEE), 65535), Frame(10, full), Frame(78, {'o', 'k'})}) {
    stream.insert(stream.end(), frame.begin(), frame.end());
  }
  peer.Send(stream);
  ASSERT_TRUE(WaitUntil([&] { return client.m_recvQueue.Count() == 4; }));

  unsigned int id = 0;
  unsigned short length = 0;
  std::vector<char> data(MsgPacket::kCapacity);
  ASSERT_EQ(client.RecvMsg(&id, &length, data.data()), 1);
  EXPECT_EQ(id, 77u);
  EXPECT_EQ(length, 1);
  EXPECT_EQ(data[0], 'Z');

  id = 0xDEAD;
  length = 0xBEEF;
  data[0] = '#';
  EXPECT_EQ(client.RecvMsg(&id, &length, data.data()), 0);
  EXPECT_EQ(id, 0xDEADu);
  EXPECT_EQ(length, 0xBEEF);
  EXPECT_EQ(data[0], '#');

  ASSERT_EQ(client.RecvMsg(&id, &length, data.data()), 1);
  EXPECT_EQ(id, 10u);
  EXPECT_EQ(length, MsgPacket::kCapacity);
  EXPECT_TRUE(std::equal(full.begin(), full.end(), reinterpret_cast<unsigned char*>(data.data())));

  ASSERT_EQ(client.RecvMsg(&id, &length, data.data()), 1);
  EXPECT_EQ(id, 78u);
  EXPECT_EQ(std::string(data.data(), length), "ok");
  EXPECT_EQ(client.m_recvQueue.Count(), 0u);
}

// Id 10040 feeds the counter picked by m_failSelector: 0 after a success,
// +1 after a failure; every message with a length resets the selector.
TEST_F(ConnectedClient, FailCountersFollowSendsOfId10040) {
  client.m_failCountA = 5;
  client.m_failSelector = 2;
  SendAndWait(CSocketMain::kFailCountMsgId, "a");
  ASSERT_TRUE(WaitUntil([&] { return client.m_failSelector == 0; }));
  EXPECT_EQ(client.m_failCountA, 0);

  client.m_failCountB = 3;
  SendAndWait(CSocketMain::kFailCountMsgId, "b");
  ASSERT_TRUE(WaitUntil([&] { return client.m_failCountB == 0; }));

  client.m_failSelector = 2;
  SendAndWait(1, "c");
  ASSERT_TRUE(WaitUntil([&] { return client.m_failSelector == 0; }));
  EXPECT_EQ(client.m_failCountA, 0);

  peer.Reset();
  Sleep(300);
  client.SendMsg(1, "d", CSocketMain::kFailCountMsgId);
  ASSERT_TRUE(WaitUntil([&] { return client.m_failCountB == 1; }));
  EXPECT_EQ(client.m_conn->socket, INVALID_SOCKET);
  EXPECT_NE(client.m_socket, INVALID_SOCKET);  // broken, not stopped

  client.m_failSelector = 2;
  client.SendMsg(1, "e", CSocketMain::kFailCountMsgId);
  ASSERT_TRUE(WaitUntil([&] { return client.m_failCountA == 1; }));
  EXPECT_EQ(client.m_failSelector, 0);
  EXPECT_EQ(client.m_failCountB, 1);
}

// An empty message of id 10040 sends nothing and neither counts nor resets
// the selector: the message after it still feeds m_failCountA.
TEST_F(ConnectedClient, EmptyMessageLeavesSelectorAndCountersAlone) {
  client.m_failCountA = 4;
  client.m_failCountB = 6;
  client.m_failSelector = 2;
  ASSERT_EQ(client.SendMsg(0, "x", CSocketMain::kFailCountMsgId), 1);
  SendAndWait(CSocketMain::kFailCountMsgId, "y");
  ASSERT_TRUE(WaitUntil([&] { return client.m_failSelector == 0; }));
  EXPECT_EQ(client.m_failCountA, 0);
  EXPECT_EQ(client.m_failCountB, 6);
  EXPECT_TRUE(peer.Receive(1, 300).empty());
}

// Stop wakes and joins both workers: the receive worker blocked in recv and
// the send worker waiting for a message.
TEST_F(ConnectedClient, StopEndsBothWorkersPromptly) {
  HANDLE workers[2];
  HANDLE self = GetCurrentProcess();
  DuplicateHandle(self, client.m_sendThread->handle, self, &workers[0], SYNCHRONIZE, FALSE, 0);
  DuplicateHandle(self, client.m_recvThread->handle, self, &workers[1], SYNCHRONIZE, FALSE, 0);
  Sleep(200);  // both workers now wait: for a message, for bytes

  DWORD start = GetTickCount();
  client.Stop();
  DWORD elapsed = GetTickCount() - start;
  EXPECT_LT(elapsed, 2000u);
  EXPECT_EQ(WaitForMultipleObjects(2, workers, TRUE, 0), WAIT_OBJECT_0);
  EXPECT_EQ(client.m_sendThread, nullptr);
  EXPECT_EQ(client.m_recvThread, nullptr);
  EXPECT_EQ(client.m_conn, nullptr);
  EXPECT_EQ(client.m_socket, INVALID_SOCKET);
  EXPECT_TRUE(client.m_host.empty());
  EXPECT_EQ(client.m_port, 0u);
  EXPECT_TRUE(peer.Receive(1, 2000).empty());  // the peer sees the close
  CloseHandle(workers[0]);
  CloseHandle(workers[1]);
}

TEST(SocketClient, DestroyingARunningClientEndsItsWorkers) {
  LoopbackPeer peer;
  std::unique_ptr<CSocketMain> client(new CSocketMain);
  client->Init(L"127.0.0.1", peer.port());
  ASSERT_EQ(client->Start(), 1);
  ASSERT_TRUE(peer.Accept());
  client->SendMsg(3, "abc", 1);
  ASSERT_EQ(peer.Receive(3), (Bytes{'a', 'b', 'c'}));
  client->SendMsg(3, "xyz", 1);  // may still be queued at destruction
  HANDLE workers[2];
  HANDLE self = GetCurrentProcess();
  DuplicateHandle(self, client->m_sendThread->handle, self, &workers[0], SYNCHRONIZE, FALSE, 0);
  DuplicateHandle(self, client->m_recvThread->handle, self, &workers[1], SYNCHRONIZE, FALSE, 0);

  DWORD start = GetTickCount();
  client.reset();
  EXPECT_LT(GetTickCount() - start, 2000u);
  EXPECT_EQ(WaitForMultipleObjects(2, workers, TRUE, 0), WAIT_OBJECT_0);
  CloseHandle(workers[0]);
  CloseHandle(workers[1]);
}

// Only names with ".com", ".net" or ".cn" are looked up; "localhost" is
// parsed as an address, is none, and no attempt reaches the listening peer.
TEST(SocketClient, NameWithoutDomainSuffixFailsEveryAttempt) {
  LoopbackPeer peer;
  CSocketMain client;
  client.Init(L"localhost", peer.port());
  DWORD start = GetTickCount();
  EXPECT_EQ(client.Start(), 0);
  std::printf("Start with \"localhost\" failed after %lu ms\n",
              static_cast<unsigned long>(GetTickCount() - start));
  EXPECT_EQ(client.m_socket, INVALID_SOCKET);
  EXPECT_EQ(client.m_sendThread, nullptr);
  EXPECT_EQ(client.m_recvThread, nullptr);
  EXPECT_FALSE(peer.HasPendingConnection(0));
  client.Stop();
  EXPECT_EQ(client.m_conn, nullptr);
}

// A refused connection is known at once; the three attempts do not each
// wait out the 5-second limit.
TEST(SocketClient, RefusedConnectionFailsWithoutWaitingOutTheLimit) {
  unsigned int closedPort;
  {
    LoopbackPeer gone;
    closedPort = gone.port();
  }
  LoopbackPeer keepWinsock;
  CSocketMain client;
  client.Init(L"127.0.0.1", closedPort);
  DWORD start = GetTickCount();
  EXPECT_EQ(client.Start(), 0);
  EXPECT_LT(GetTickCount() - start, 5000u);
  EXPECT_EQ(client.m_socket, INVALID_SOCKET);
}

TEST(SocketClient, MessagesQueuedWhileStoppedAreSentAfterStartButLengthZeroIsNot) {
  LoopbackPeer peer;
  CSocketMain client;
  EXPECT_EQ(client.SendMsg(0, "x", 1), 1);
  EXPECT_EQ(client.SendMsg(3, "abc", 2), 1);
  client.Init(L"127.0.0.1", peer.port());
  ASSERT_EQ(client.Start(), 1);
  ASSERT_TRUE(peer.Accept());
  EXPECT_EQ(peer.Receive(4, 500), (Bytes{'a', 'b', 'c'}));
}

TEST(SocketClient, SendMsgRefusesNullAndOversizedData) {
  CSocketMain client;
  std::vector<char> exact(MsgPacket::kCapacity, 'm');
  EXPECT_EQ(client.SendMsg(1, nullptr, 1), 0);
  EXPECT_EQ(client.SendMsg(MsgPacket::kCapacity + 1, exact.data(), 1), 0);
  EXPECT_EQ(client.SendMsg(-1, exact.data(), 1), 0);
  EXPECT_EQ(client.m_sendQueue.Count(), 0u);
  EXPECT_EQ(client.SendMsg(MsgPacket::kCapacity, exact.data(), 1), 1);
  EXPECT_EQ(client.m_sendQueue.Count(), 1u);
}

// The 513th message is dropped, SendMsg still returns 1, and the ring keeps
// order across its wrap.
TEST(SocketClient, QueueHoldsAtMost512Messages) {
  CSocketMain client;
  for (unsigned int id = 1; id <= 513; ++id) {
    char byte = static_cast<char>(id);
    EXPECT_EQ(client.SendMsg(1, &byte, id), 1);
  }
  EXPECT_EQ(client.m_sendQueue.Count(), 512u);
  for (unsigned int id = 1; id <= 512; ++id) {
    std::unique_ptr<QueuedMsg> msg(client.m_sendQueue.Take());
    ASSERT_TRUE(msg);
    ASSERT_EQ(msg->id, id);
  }
  char byte = 1;
  client.SendMsg(1, &byte, 600);
  std::unique_ptr<QueuedMsg> msg(client.m_sendQueue.Take());
  EXPECT_EQ(msg->id, 600u);
}

TEST(SocketClient, StopOnANeverStartedClientClearsHostAndPort) {
  CSocketMain client;
  EXPECT_EQ(client.Init(L"peer.example", 4000), 1);
  client.Stop();
  EXPECT_TRUE(client.m_host.empty());
  EXPECT_EQ(client.m_port, 0u);
  EXPECT_EQ(client.Init(nullptr, 1), 1);
  EXPECT_TRUE(client.m_host.empty());
}

}  // namespace
