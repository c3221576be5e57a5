// The cost of FX_GENGRASS over the scene's sphere model (50 shells of a 20 by
// 20 sphere, 42000 vertices per call), split into the framework's own work
// and the whole call with the driver.
//
//   framework only   GLVERT3FREMOVE on: every value of every shell and vertex
//                    is computed and every call the recorder does not stand in
//                    for (normals, texture co-ordinates, matrices, alpha
//                    function) still reaches OpenGL, but no glBegin,
//                    glVertex3f or glEnd is sent.
//   with driver      GLVERT3FREMOVE off, the scene's view and a grass-like
//                    alpha texture, glFinish after the call, so that the
//                    driver's vertex and fragment work is inside the time.
//   clear + finish   the frame's clear and glFinish alone, the part of
//                    "with driver" that is not the effect's.
//
// Run on the headless display (EGL pbuffer, Mesa's llvmpipe without a GPU):
//   <build>/bin/grass_benchmark --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
#include <GL/gl.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <random>
#include <vector>

#include "framework/orvex.h"
#include "platform/headless/headless.h"

namespace {

void sphere_model() {
    glPushMatrix();
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
    orvex::SFERA(0, 0, 0, 4, 20, 20, 1.0f / 3.0f);
    glPopMatrix();
}

void grass_over_sphere() { orvex::FX_GENGRASS(4, 3, 0, 0.5f, 1, 1, 5, sphere_model, false); }

// The scene's view of the sphere and a 256 by 256 texture of random alpha
// (blades), bound with the alpha test's usual partner filters.
void set_up_scene() {
    orvex::OPENGL_INIT(100, 1, 0, 0, 0);
    orvex::SETGLREFRACTIVE();
    orvex::SETGLLIGHT(GL_LIGHT0, 0, 0, 0, 0.1f);
    std::vector<unsigned char> texels(256 * 256 * 4);
    std::mt19937 random(7);
    for (std::size_t k = 0; k < texels.size(); k += 4) {
        texels[k] = 40;
        texels[k + 1] = static_cast<unsigned char>(120 + random() % 100);
        texels[k + 2] = 30;
        texels[k + 3] = static_cast<unsigned char>(random() % 256);
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 256, 256, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels.data());
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glEnable(GL_TEXTURE_2D);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glTranslatef(0.0f, 0.0f, -30.0f);
    glRotatef(45.0f, 1.0f, 0.0f, 0.0f);
}

void BM_GrassSphereFrameworkOnly(benchmark::State& state) {
    orvex::GLVERT3FREMOVE = true;
    for (auto _ : state) grass_over_sphere();
    glFinish();
    orvex::GLVERT3FREMOVE = false;
    state.SetItemsProcessed(state.iterations() * 50 * 20 * 42);  // vertices
}

void BM_GrassSphereWithDriver(benchmark::State& state) {
    orvex::GLVERT3FREMOVE = false;
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        grass_over_sphere();
        glFinish();
    }
    state.SetItemsProcessed(state.iterations() * 50 * 20 * 42);
}

void BM_ClearAndFinish(benchmark::State& state) {
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glFinish();
    }
}

BENCHMARK(BM_GrassSphereFrameworkOnly)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_GrassSphereWithDriver)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ClearAndFinish)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    orvex_headless::activate();
    orvex::OGLWINDOWSETTING(orvex::ARROW, nullptr, orvex::GENERIC, nullptr);
    if (!orvex::CREATEOGLWINDOW("grass benchmark", 800, 600, 32, false) || !orvex::RCWINDOW) {
        std::fprintf(stderr, "no OpenGL window\n");
        return 1;
    }
    set_up_scene();
    std::printf("OpenGL renderer: %s\n", reinterpret_cast<const char*>(glGetString(GL_RENDERER)));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    orvex::DELETEOGLWINDOW();
    return 0;
}
