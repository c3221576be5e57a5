// The cost of the grass scene's frame on the headless display (llvmpipe):
// whole frames, the framework's own share, and how the cost grows with the
// grass quality. Run from the directory holding the seven image files:
//   scene_benchmark [--size=WxH] [benchmark flags]
// --size is the window's outer size (default 800x600, the program's).
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"
#include "scene/grass_scene.h"

namespace {

using namespace orvex;

// A whole frame as the program's loop runs it, the read-back of the headless
// display included.
void BM_FramePresented(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        grass::OPENGL_DRAW();
        SwapBuffers(DCWINDOW);
    }
    state.SetItemsProcessed(state.iterations());  // items per second: frames per second
}

// The frame drawn and finished, without presenting it.
void BM_FrameDrawn(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        grass::OPENGL_DRAW();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations());
}

// The framework's own work: the same frame with the vertex recorder
// suppressing every vertex, so that OpenGL rasterises nothing.
void BM_FrameworkOnly(benchmark::State& state) {
    GLVERT3FREMOVE = true;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        grass::OPENGL_DRAW();
        glFinish();
    }
    GLVERT3FREMOVE = false;
    state.SetItemsProcessed(state.iterations());
}

// The frame at other grass qualities (ten shells per unit of quality).
void BM_FrameAtQuality(benchmark::State& state) {
    grass::GRASSQUALITY = static_cast<float>(state.range(0)) / 10.0f;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT);
        grass::OPENGL_DRAW();
        glFinish();
    }
    grass::GRASSQUALITY = 5.0f;
    state.counters["shells"] = static_cast<double>(state.range(0));
    state.SetItemsProcessed(state.iterations());
}

BENCHMARK(BM_FramePresented)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FrameDrawn)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FrameworkOnly)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();
BENCHMARK(BM_FrameAtQuality)->Arg(10)->Arg(25)->Arg(50)->Arg(100)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

}  // namespace

int main(int argc, char** argv) {
    int width = 800, height = 600;
    std::vector<char*> rest;
    for (int i = 0; i < argc; ++i) {
        if (std::strncmp(argv[i], "--size=", 7) == 0) {
            if (std::sscanf(argv[i] + 7, "%dx%d", &width, &height) != 2 || width < 16 || height < 16) {
                std::fprintf(stderr, "scene_benchmark: --size takes WxH\n");
                return 2;
            }
        } else {
            rest.push_back(argv[i]);
        }
    }
    int rest_count = static_cast<int>(rest.size());
    benchmark::Initialize(&rest_count, rest.data());

    orvex_headless::activate();
    orvex_headless::set_screen_size(width + 100, height + 100);
    OGLWINDOWSETTING(ARROW, "", GENERIC, "");
    CREATEOGLWINDOW("scene benchmark", width, height, 32, false);
    OPENGL_INIT(100, 0, 0, 0, 0);
    SETGLREFRACTIVE();
    SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    grass::OPENGL_CREATELIST();
    if (TEXTURETGA2[0].TEXID == 0)
        std::fprintf(stderr, "scene_benchmark: the grass textures are missing; run it where the image files are\n");
    benchmark::AddCustomContext("window", std::to_string(width) + "x" + std::to_string(height));

    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    DELETEOGLWINDOW();
    return 0;
}
