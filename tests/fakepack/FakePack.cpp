// A stand-in dialog pack for the loader tests: answers without showing anything.
#include <cstdint>
#include <cstring>
#include <initializer_list>

extern "C" {

__attribute__((visibility("default"))) uint16_t StartCheckDlg(int32_t* choice, const char* caption1,
                                                              const char* caption2) {
    // Choice 2 when the captions arrived as the CP932 bytes of "テンプレートを開く".
    *choice = (std::strncmp(caption1, "\x83\x65\x83\x93", 4) == 0 && caption2 != nullptr) ? 2 : 9;
    return 1;
}

__attribute__((visibility("default"))) uint16_t StringEditDlg(const char* current, char* out, int32_t size) {
    // Echo the text twice, filling the buffer completely without a terminator when it is too long.
    const size_t len = std::strlen(current);
    if (len * 2 >= size_t(size)) {
        std::memset(out, 'x', size_t(size));
        return 1;
    }
    std::memcpy(out, current, len);
    std::memcpy(out + len, current, len);
    out[len * 2] = '\0';
    return 1;
}

__attribute__((visibility("default"))) uint16_t FontEditDlg(int32_t mode, void* object, const char* faceName,
                                                            char* outFace, int32_t faceSize, int32_t* fontSize,
                                                            int32_t* fontStyle, int32_t* fontColor) {
    // Confirms without touching the face buffer: the caller reads back what it put there itself.
    *fontSize += mode;
    return 1;
}

__attribute__((visibility("default"))) uint16_t SaveTWAINImageDlg(int32_t* choice) {
    *choice = 1;
    return 0;
}

__attribute__((visibility("default"))) uint16_t PenBrushSetDlg(int32_t mode, int32_t* penStyle, int32_t* penWidth,
                                                               int32_t* penColor, int32_t* brushStyle,
                                                               int32_t* brushColor, int32_t* roundNum, int32_t part) {
    // Scribbles over every value, then confirms only when asked for the pen part.
    for (int32_t* v : {penStyle, penWidth, penColor, brushStyle, brushColor, roundNum})
        *v = 77;
    return part == 1 ? 1 : 0;
}
}
