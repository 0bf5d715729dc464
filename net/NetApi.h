// NUVRA_NET_API marks the classes that NuvraSetup.exe exports (MsgPacket,
// CSocketMain).  Inside the build that links the net library the classes are
// exported; a program that uses them through NuvraSetup.exe's import library
// gets them as imports.  Portable host builds have no export table.
#pragma once

#if defined(_WIN32)
#if defined(NUVRA_NET_EXPORTS)
#define NUVRA_NET_API __declspec(dllexport)
#else
#define NUVRA_NET_API __declspec(dllimport)
#endif
#else
#define NUVRA_NET_API
#endif
