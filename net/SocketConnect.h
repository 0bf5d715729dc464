// Host resolution and the connection attempt used by CSocketMain::Start.
#pragma once

#include <winsock2.h>

#include <string>

// Names containing ".com", ".net" or ".cn" are looked up by name; anything
// else is parsed as a dotted IPv4 address and used as it comes out (text
// that is no address gives the all-ones address, which cannot connect).
// Returns false only when a name lookup finds nothing.
bool ResolveHost(const std::wstring& host, unsigned long* address);

// Sets the socket options, connects with a 5-second limit and leaves the
// socket blocking.  On failure the socket is closed; false.
bool ConnectSocket(SOCKET s, unsigned long address, unsigned int port);
