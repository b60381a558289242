// Cost of the embedded models: compiling them at start-up (each, and the whole of
// buildModels), and drawing their lists on the real OpenGL as a view does every
// frame (the tilting model is the largest).
#include "render/lighting.h"
#include "render/model_data.h"
#include "render/model_lists.h"
#include "render/models.h"
#include "world/world.h"

#include <GL/freeglut.h>
#include <benchmark/benchmark.h>

static void BM_CompileModelList(benchmark::State& state) {
    const MeshModel* models[4] = {&firstShipModel, &secondShipModel, &cockpitModel, &tiltingModel};
    const MeshModel& model = *models[state.range(0)];
    for (auto _ : state) {
        const int id = buildModelList(model);
        glFinish();
        glDeleteLists(static_cast<GLuint>(id), 1);
    }
    state.counters["faces"] = model.faceCount;
}
BENCHMARK(BM_CompileModelList)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

// The whole of buildModels as start-up runs it: the two handles and the four lists.
// Each round first drops the previous round's, so the last ones stay for the
// drawing benchmarks.
static void BM_BuildModels(benchmark::State& state) {
    for (auto _ : state) {
        state.PauseTiming();
        for (unsigned int list : {modelLists[0], modelLists[1], cockpitList, tiltModelList})
            glDeleteLists(list, 1);
        for (ModelHandle*& handle : shipModelHandles) {
            delete handle;
            handle = nullptr;
        }
        glFinish();
        state.ResumeTiming();
        buildModels();
        glFinish();
    }
}
BENCHMARK(BM_BuildModels)->Unit(benchmark::kMillisecond);

static void BM_DrawModelList(benchmark::State& state) {
    const unsigned int lists[4] = {modelLists[0], modelLists[1], cockpitList, tiltModelList};
    const unsigned int list = lists[state.range(0)];
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    beginLightPair();
    placeLightPair(1.0f);
    for (auto _ : state) {
        glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
        glPushMatrix();
        glCallList(list);
        glPopMatrix();
        glFinish();
    }
    endLightPair();
}
BENCHMARK(BM_DrawModelList)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);
    // The size of one player's view.
    glutInitWindowSize(514, 512);
    glutCreateWindow("model lists benchmark");
    glEnable(GL_DEPTH_TEST);
    initLighting();
    resetMaterial();
    buildModels();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
