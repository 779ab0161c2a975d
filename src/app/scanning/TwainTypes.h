#pragma once

// The acquisition protocol's records and codes, as the published protocol defines them, and the
// interface of a source manager that answers its operations. Our source manager is the scanner
// access layer (SaneSourceManager); tests put stand-ins in its place.

#include <QByteArray>
#include <cstdint>

using TW_UINT16 = uint16_t;
using TW_UINT32 = uint32_t;
using TW_INT16 = int16_t;
using TW_BOOL = uint16_t;
using TW_HANDLE = void*;
using TW_MEMREF = void*;
using TW_STR32 = char[34];

struct TW_VERSION {
    TW_UINT16 MajorNum;
    TW_UINT16 MinorNum;
    TW_UINT16 Language;
    TW_UINT16 Country;
    TW_STR32 Info;
};

struct TW_IDENTITY {
    TW_UINT32 Id;
    TW_VERSION Version;
    TW_UINT16 ProtocolMajor;
    TW_UINT16 ProtocolMinor;
    TW_UINT32 SupportedGroups;
    TW_STR32 Manufacturer;
    TW_STR32 ProductFamily;
    TW_STR32 ProductName;
};

struct TW_USERINTERFACE {
    TW_BOOL ShowUI;
    TW_BOOL ModalUI;
    TW_HANDLE hParent;
};

struct TW_EVENT {
    TW_MEMREF pEvent;
    TW_UINT16 TWMessage;
};

struct TW_PENDINGXFERS {
    TW_UINT16 Count;
    TW_UINT32 EOJ;
};

struct TW_STATUS {
    TW_UINT16 ConditionCode;
    TW_UINT16 Reserved;
};

enum : TW_UINT32 { DG_CONTROL = 0x0001, DG_IMAGE = 0x0002 };
enum : TW_UINT16 {
    DAT_EVENT = 0x0002,
    DAT_IDENTITY = 0x0003,
    DAT_PARENT = 0x0004,
    DAT_PENDINGXFERS = 0x0005,
    DAT_STATUS = 0x0008,
    DAT_USERINTERFACE = 0x0009,
    DAT_IMAGENATIVEXFER = 0x0104,
};
enum : TW_UINT16 {
    MSG_NULL = 0x0000,
    MSG_GET = 0x0001,
    MSG_XFERREADY = 0x0101,
    MSG_CLOSEDSREQ = 0x0102,
    MSG_CLOSEDSOK = 0x0103,
    MSG_OPENDSM = 0x0301,
    MSG_CLOSEDSM = 0x0302,
    MSG_OPENDS = 0x0401,
    MSG_CLOSEDS = 0x0402,
    MSG_USERSELECT = 0x0403,
    MSG_DISABLEDS = 0x0501,
    MSG_ENABLEDS = 0x0502,
    MSG_PROCESSEVENT = 0x0601,
    MSG_ENDXFER = 0x0701,
};
enum : TW_UINT16 {
    TWRC_SUCCESS = 0,
    TWRC_FAILURE = 1,
    TWRC_CHECKSTATUS = 2,
    TWRC_CANCEL = 3,
    TWRC_DSEVENT = 4,
    TWRC_NOTDSEVENT = 5,
    TWRC_XFERDONE = 6,
};
enum : TW_UINT16 {
    TWCC_SUCCESS = 0,
    TWCC_BUMMER = 1,
    TWCC_LOWMEMORY = 2,
    TWCC_NODS = 3,
    TWCC_BADPROTOCOL = 9,
    TWCC_BADVALUE = 10,
    TWCC_SEQERROR = 11,
    TWCC_CHECKDEVICEONLINE = 23,
};

// The memory a native transfer hands over: a packed bitmap the receiver frees.
inline TW_HANDLE TwainAllocate(QByteArray bytes) {
    return new QByteArray(std::move(bytes));
}
inline const QByteArray* TwainLock(TW_HANDLE handle) {
    return static_cast<const QByteArray*>(handle);
}
inline void TwainFree(TW_HANDLE handle) {
    delete static_cast<QByteArray*>(handle);
}

// One entry for every operation, like the platform's source manager entry.
class TTwainSourceManager {
public:
    virtual ~TTwainSourceManager() = default;
    // dest is null for operations on the manager itself.
    virtual TW_UINT16 Entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 group, TW_UINT16 dataType,
                            TW_UINT16 message, TW_MEMREF data) = 0;
};
