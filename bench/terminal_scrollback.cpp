// The terminal keeps tens of thousands of lines for some operators: adding a line and repainting
// the output pane must cost the same with a full large buffer as with the default 50 lines.
#include "QtBenchmarkMain.h"
#include "terminal/MonitorView.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <string>

using quendra::MonitorBuffer;
using quendra::MonitorView;

namespace {

const std::u16string kLine = u"DX de G4XYZ:     14025.0  K1AA         up 2                    1234Z";

void fill(MonitorBuffer& buffer, int lines) {
    buffer.setCapacity(lines);
    for (int i = 0; i < lines; ++i)
        buffer.AddLine(kLine);
}

void BM_AddLineToFullBuffer(benchmark::State& state) {
    MonitorBuffer buffer;
    fill(buffer, static_cast<int>(state.range(0)));
    for (auto _ : state)
        buffer.AddLine(kLine);
}
BENCHMARK(BM_AddLineToFullBuffer)->Arg(50)->Arg(50'000);

void BM_AddLineToOutputPane(benchmark::State& state) {
    MonitorView view;
    view.resize(640, 480);
    fill(view.buffer(), static_cast<int>(state.range(0)));
    for (auto _ : state)
        view.buffer().AddLine(kLine);
}
BENCHMARK(BM_AddLineToOutputPane)->Arg(50)->Arg(50'000);

void BM_PaintOutputPane(benchmark::State& state) {
    MonitorView view;
    view.resize(640, 480);
    fill(view.buffer(), static_cast<int>(state.range(0)));
    QImage image(view.viewport()->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state)
        view.viewport()->render(&image);
}
BENCHMARK(BM_PaintOutputPane)->Arg(50)->Arg(50'000);

}  // namespace

int main(int argc, char** argv) { return runBenchmarksWithApplication(argc, argv); }
