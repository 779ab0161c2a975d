#pragma once

// The scanner access library's interface (SANE, version 1), declared here so that the program
// builds and runs without the library: it is loaded at run time when a scan is asked for.

#include <cstdint>

namespace SaneApi {

using Word = int32_t;
using Int = int32_t;
using Bool = int32_t;
using Fixed = int32_t;
using Handle = void*;
using StringConst = const char*;

inline double Unfix(Fixed v) {
    return double(v) / 65536.0;
}
inline Fixed Fix(double v) {
    return Fixed(v * 65536.0);
}

enum Status : int {
    StatusGood = 0,
    StatusUnsupported,
    StatusCancelled,
    StatusDeviceBusy,
    StatusInval,
    StatusEof,
    StatusJammed,
    StatusNoDocs,
    StatusCoverOpen,
    StatusIoError,
    StatusNoMem,
    StatusAccessDenied,
};

enum ValueType : int { TypeBool = 0, TypeInt, TypeFixed, TypeString, TypeButton, TypeGroup };
enum Unit : int { UnitNone = 0, UnitPixel, UnitBit, UnitMm, UnitDpi, UnitPercent, UnitMicrosecond };
enum ConstraintType : int { ConstraintNone = 0, ConstraintRange, ConstraintWordList, ConstraintStringList };
enum Action : int { ActionGetValue = 0, ActionSetValue, ActionSetAuto };
enum Frame : int { FrameGray = 0, FrameRgb, FrameRed, FrameGreen, FrameBlue };

constexpr Int CapSoftSelect = 1 << 0;
constexpr Int CapInactive = 1 << 5;

struct Device {
    StringConst name;
    StringConst vendor;
    StringConst model;
    StringConst type;
};

struct Range {
    Word min;
    Word max;
    Word quant;
};

struct OptionDescriptor {
    StringConst name;
    StringConst title;
    StringConst desc;
    ValueType type;
    Unit unit;
    Int size;
    Int cap;
    ConstraintType constraint_type;
    union {
        const StringConst* string_list;
        const Word* word_list;
        const Range* range;
    } constraint;
};

struct Parameters {
    Frame format;
    Bool last_frame;
    Int bytes_per_line;
    Int pixels_per_line;
    Int lines;
    Int depth;
};

extern "C" {
using AuthCallback = void (*)(StringConst resource, char* username, char* password);
using InitFn = Status (*)(Int* version, AuthCallback authorize);
using ExitFn = void (*)();
using GetDevicesFn = Status (*)(const Device*** list, Bool localOnly);
using OpenFn = Status (*)(StringConst name, Handle* handle);
using CloseFn = void (*)(Handle handle);
using GetOptionDescriptorFn = const OptionDescriptor* (*)(Handle handle, Int option);
using ControlOptionFn = Status (*)(Handle handle, Int option, Action action, void* value, Int* info);
using GetParametersFn = Status (*)(Handle handle, Parameters* params);
using StartFn = Status (*)(Handle handle);
using ReadFn = Status (*)(Handle handle, unsigned char* data, Int maxLength, Int* length);
using CancelFn = void (*)(Handle handle);
}

// The entries of a loaded library.
struct Functions {
    InitFn init = nullptr;
    ExitFn exit = nullptr;
    GetDevicesFn get_devices = nullptr;
    OpenFn open = nullptr;
    CloseFn close = nullptr;
    GetOptionDescriptorFn get_option_descriptor = nullptr;
    ControlOptionFn control_option = nullptr;
    GetParametersFn get_parameters = nullptr;
    StartFn start = nullptr;
    ReadFn read = nullptr;
    CancelFn cancel = nullptr;
};

} // namespace SaneApi
