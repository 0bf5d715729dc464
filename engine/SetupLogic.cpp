// CSetupLogic: lifetime, install directory and step list.
#include "engine/CSetupLogic.h"

#include <process.h>

#include "net/CSocketMain.h"

namespace {
CSetupLogic* g_setupLogic = nullptr;
const wchar_t kLeftoverPackageName[] = L"NuvraBrowserInstallPacket.lzma";
}  // namespace

CSetupLogic* CSetupLogic::GetInstance() {
  if (!g_setupLogic) g_setupLogic = new CSetupLogic();
  return g_setupLogic;
}

void CSetupLogic::DestroyInstance() {
  delete g_setupLogic;
  g_setupLogic = nullptr;
}

CSetupLogic::CSetupLogic()
    : m_steps(), m_stepCount(0), m_hWorkerThread(nullptr),
      m_hNotifyWnd(nullptr), m_pSocket(nullptr) {}

CSetupLogic::~CSetupLogic() {
  if (m_hWorkerThread) {
    CloseHandle(m_hWorkerThread);
    m_hWorkerThread = nullptr;
  }
  if (m_pSocket) {
    delete m_pSocket;
    m_pSocket = nullptr;
  }
  // A package file left by an earlier installer version; absence is fine.
  DeleteFileW((m_installDir + kLeftoverPackageName).c_str());
}

void CSetupLogic::SetInstallDir(const wchar_t* dir) {
  if (!dir) return;
  m_installDir = dir;
  const wchar_t last = m_installDir.empty() ? L'\0' : m_installDir.back();
  if (last != L'\\' && last != L'/') m_installDir += L'\\';
}

BOOL CSetupLogic::AddStep(UINT id) {
  if (id >= INSTALL_STEP_COUNT || m_stepCount >= kStepCapacity) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  m_steps[m_stepCount++] = g_installStepTable[id];
  return TRUE;
}

BOOL CSetupLogic::StartWorker() {
  uintptr_t thread = _beginthreadex(nullptr, 0, InstallWorkerProc, this, 0, nullptr);
  m_hWorkerThread = reinterpret_cast<HANDLE>(thread);
  return m_hWorkerThread != nullptr;
}

void CSetupLogic::JoinWorker() {
  if (!m_hWorkerThread) return;
  DWORD wait = WaitForSingleObject(m_hWorkerThread, INFINITE);
  CloseHandle(m_hWorkerThread);
  m_hWorkerThread = nullptr;
  if (wait != WAIT_OBJECT_0) SetLastError(wait);
}

int CSetupLogic::StepEmpty() { return 1; }
