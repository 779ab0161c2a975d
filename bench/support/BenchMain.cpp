// The main of every benchmark binary: an offscreen application with the face mapping installed,
// since the objects measure and draw text, and every object kind known to the factory.
#include "document/ObjectKinds.h"
#include "platform/FontMap.h"

#include <QApplication>
#include <benchmark/benchmark.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    TFontMap::Install();
    TObjectKinds::RegisterAll();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
