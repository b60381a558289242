// Cost of the start-up texture set: the whole of loadTextures, and the two parts
// that dominate it, the twelve relief builds and the twelve mipmap uploads.
// Runs in a GLUT window's context from the build folder, where Data/ is.
#include "assets/bmp_loader.h"
#include "assets/bmp_reader.h"
#include "assets/relief.h"
#include "assets/textures.h"
#include "assets/tga_loader.h"
#include "bench_support.h"

#include <GL/freeglut.h>
#include <GL/glu.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <string>
#include <vector>

namespace {

void deleteEverything() {
    glDeleteTextures(TEXTURE_SLOT_COUNT, textureNames);
    for (unsigned int& list : reliefLists) {
        glDeleteLists(list, 1);
        list = 0;
    }
}

void BM_LoadTextures(benchmark::State& state) {
    for (auto _ : state) {
        {
            QuietStdout quiet;
            loadTextures();
            glFinish();
        }
        state.PauseTiming();
        deleteEverything();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_LoadTextures)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// One relief build at each of the three resolutions (the cost does not depend on
// which height map it is); start-up makes four of each.
void BM_ReliefBuild(benchmark::State& state) {
    {
        QuietStdout quiet;
        loadTgaImage(&bumpImage, "Data/Marsbump.tga", TEX_MARS, GL_LINEAR);
    }
    const int resolution = static_cast<int>(state.range(0));
    for (auto _ : state) {
        {
            QuietStdout quiet;
            buildReliefList(2, resolution);
            glFinish();
        }
        state.PauseTiming();
        deleteEverything();
        state.ResumeTiming();
    }
    state.counters["vertices"] = resolution / 2 * (resolution + 1) * 2;
}
BENCHMARK(BM_ReliefBuild)->Arg(100)->Arg(200)->Arg(400)->Unit(benchmark::kMillisecond);

struct Upload {
    GLenum format;
    int width, height;
    std::vector<unsigned char> pixels;
};

// The pixels of the twelve uploads of loadTextures, read once.
std::vector<Upload> startUpImages() {
    std::vector<Upload> uploads;
    QuietStdout quiet;
    for (const char* path :
         {"Data/Stars1.bmp", "Data/planet.bmp", "Data/Earthmap.bmp", "Data/Pastellarust.bmp"}) {
        BmpImage image{};
        if (loadBmp(path, &image)) {
            const size_t size = size_t(image.width) * image.height * 3;
            uploads.push_back({GL_RGB, int(image.width), int(image.height),
                               std::vector<unsigned char>(image.pixels, image.pixels + size)});
            std::free(image.pixels);
        }
    }
    for (const char* path :
         {"Data/Earthbump.tga", "Data/Plutobump.tga", "Data/Marsbump.tga", "Data/Venusbump.tga",
          "Data/Cloudmap.tga", "Data/test1.tga", "Data/Earthmap.tga", "Data/crosshair.tga"}) {
        TgaImage image{nullptr, 0, 0, 0};
        if (loadTga(&image, path, 4, GL_LINEAR)) {
            const int bytes = image.bitsPerPixel / 8;
            const size_t size = size_t(image.width) * image.height * bytes;
            uploads.push_back({GLenum(bytes == 4 ? GL_RGBA : GL_RGB), int(image.width),
                               int(image.height),
                               std::vector<unsigned char>(image.pixels, image.pixels + size)});
        }
        std::free(image.pixels);
    }
    return uploads;
}

void BM_MipmapUploads(benchmark::State& state) {
    const std::vector<Upload> uploads = startUpImages();
    if (uploads.size() != 12) {
        state.SkipWithError("Data/ is incomplete: run from the build folder");
        return;
    }
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    for (auto _ : state) {
        for (const Upload& u : uploads)
            gluBuild2DMipmaps(GL_TEXTURE_2D, GLint(u.format), u.width, u.height, u.format,
                              GL_UNSIGNED_BYTE, u.pixels.data());
        glFinish();
    }
    glDeleteTextures(1, &texture);
}
BENCHMARK(BM_MipmapUploads)->Unit(benchmark::kMillisecond)->MinTime(3.0);

// The console report, followed by the shares of the parts in the whole.
class ShareReporter : public benchmark::ConsoleReporter {
public:
    ShareReporter() : ConsoleReporter(OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs)
            milliseconds_[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        // Start-up builds four reliefs at each resolution.
        const double whole = timeOf("BM_LoadTextures"),
                     reliefs = 4 * (timeOf("BM_ReliefBuild/100") + timeOf("BM_ReliefBuild/200") +
                                    timeOf("BM_ReliefBuild/400")),
                     uploads = timeOf("BM_MipmapUploads");
        if (whole <= 0)
            return;
        std::printf("share of loadTextures: relief builds %.0f %%, mipmap uploads %.0f %%, "
                    "reading and the rest %.0f %%\n",
                    100 * reliefs / whole, 100 * uploads / whole,
                    100 * (whole - reliefs - uploads) / whole);
    }

private:
    // Milliseconds per iteration of the benchmark whose name starts so.
    double timeOf(const std::string& prefix) const {
        for (const auto& [name, ms] : milliseconds_)
            if (name.rfind(prefix, 0) == 0)
                return ms;
        return 0.0;
    }

    std::map<std::string, double> milliseconds_;
};

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitDisplayMode(GLUT_DOUBLE | GLUT_DEPTH | GLUT_RGBA);
    glutInitWindowSize(64, 64);
    glutCreateWindow("kelvidron textures benchmark");
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    benchmark::Initialize(&argc, argv);
    ShareReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
