// Field and portal records as template files and the clipboard hand them over: any bytes, any version.
#include "merge/PriField.h"
#include "merge/PriPortal.h"
#include "platform/StreamReader.h"
#include "platform/StreamWriter.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* app = [] {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return new QGuiApplication(argc, argv);
    }();
    (void)app;
    if (size < 1) return 0;
    const int version = data[0] % 12;
    const QByteArray bytes(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    {
        TStreamReader r(bytes);
        TPriField field;
        if (field.LoadFromStream(r, version)) {
            TStreamWriter w;
            field.SaveToStream(w, version);
        }
    }
    {
        TStreamReader r(bytes);
        TPriPortal portal;
        if (portal.LoadFromStream(r, version)) portal.ScaleToView({800, 600}, {800, 600}, 96);
    }
    return 0;
}
