// Frame time of the editor's drawing on this machine's Direct3D: the default model and
// generated ones of 10 000 and 100 000 patches, drawn as the frame draws them (patches and
// control nets), presented as the editor presents them, from the start-up camera and while
// orbiting. Usage: frame-time [FRAMES [displays|large|still|drag]]
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <iterator>
#include <utility>

#include "editor/edit-xform.h"
#include "editor/editor-state.h"
#include "generated-model.h"
#include "graphics/d3d11/renderer.h"
#include "view/orbit-camera.h"

namespace {

// How the frames draw the patches: flat colours unless a display is chosen.
FrameView look;
// What the last measured frames asked of the device, per frame.
FrameCounts perFrame;
// Processor time the program's own thread spent per measured frame (the device's work runs on
// the driver's threads: a software rasteriser's rides on the rest of the machine).
double ownMilliseconds = 0;

double threadMilliseconds() {
    FILETIME created, exited, kernel, user;
    GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user);
    auto ms = [](const FILETIME& t) {
        return static_cast<double>((static_cast<uint64_t>(t.dwHighDateTime) << 32) |
                                   t.dwLowDateTime) /
               1e4;
    };
    return ms(kernel) + ms(user);
}

void show(const char* what, double milliseconds) {
    std::printf("%s: %.3f ms per frame, %.1f on the program's thread (%llu draws, %llu triangles, "
                "%llu lines, %.1f KB sent)\n",
                what, milliseconds, ownMilliseconds,
                static_cast<unsigned long long>(perFrame.draws),
                static_cast<unsigned long long>(perFrame.triangles),
                static_cast<unsigned long long>(perFrame.lines),
                static_cast<double>(perFrame.bytesSent) / 1024.0);
}

// The camera turns a little about the model before every frame, looking down on it.
void orbit(OrbitCamera& camera) {
    camera.gamma = 0.5f;
    camera.theta += 0.02f;
}

double millisecondsPerFrame(Renderer& r, const Model& model, const GpuModelCopy& copy, int frames,
                            ID3D11ShaderResourceView* planet = nullptr, bool nets = true,
                            const std::function<void()>& beforeFrame = {},
                            void (*moveCamera)(OrbitCamera&) = nullptr) {
    EditorState editor;
    OrbitCamera camera;
    auto frame = [&] {
        if (beforeFrame) beforeFrame();
        if (moveCamera) moveCamera(camera);
        FrameView view = look;
        view.light = {-camera.viewMatrix()[0][2], -camera.viewMatrix()[1][2],
                      -camera.viewMatrix()[2][2], 0};
        view.viewProjection = camera.viewMatrix() * r.projection();
        r.beginView(0, view);
        if (planet) r.drawPlanet(planet, camera.viewMatrix());
        r.drawPatches(model, copy, patchViewOf(editor, vm::identity()));
        if (nets) r.drawControlNets(model, copy, patchViewOf(editor, vm::identity()));
        r.present(0); // as the editor presents
    };
    frame(); // the first frame builds what the later ones reuse
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceFrequency(&frequency);
    r.clearCounts();
    const double ownStart = threadMilliseconds();
    QueryPerformanceCounter(&start);
    for (int i = 0; i < frames; ++i)
        frame();
    QueryPerformanceCounter(&end);
    ownMilliseconds = (threadMilliseconds() - ownStart) / frames;
    const FrameCounts& c = r.counts();
    const uint64_t n = static_cast<uint64_t>(frames);
    perFrame = {c.draws / n, c.triangles / n, c.lines / n, c.bytesSent / n};
    return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart) / frames;
}

} // namespace

int main(int argc, char** argv) {
    const int frames = argc > 1 ? std::atoi(argv[1]) : 50;
    // "displays": the 10,000-patch sheet's displays alone; "large": the 100,000-patch sheet
    // alone, "still" its start-up camera alone, "drag" its point drag alone (to profile them).
    const char* only = argc > 2 ? argv[2] : "";
    const bool displaysOnly = std::strcmp(only, "displays") == 0;
    const bool dragOnly = std::strcmp(only, "drag") == 0;   // the 100,000-patch drag alone
    const bool stillOnly = std::strcmp(only, "still") == 0; // the start-up camera alone
    const bool largeOnly = std::strcmp(only, "large") == 0 || dragOnly || stillOnly;
    const bool everything = !displaysOnly && !largeOnly;
    HWND window = CreateWindowExA(0, "Static", "", WS_POPUP | WS_VISIBLE, 0, 0, 1200, 800, nullptr,
                                  nullptr, GetModuleHandleA(nullptr), nullptr);
    const std::unique_ptr<Renderer> owned = Renderer::create(0.7853982f, 1200, 800, window);
    Renderer* r = owned.get();
    std::printf("patches %s\n",
                r->tessellatesOnGpu() ? "tessellated on the GPU" : "evaluated on the CPU");

    Model small;
    small.createDefault();
    GpuModelCopy smallCopy;
    smallCopy.setFactory(r->bufferFactory());
    smallCopy.rebuild(small);
    if (everything) {
        show("default model (4 patches)", millisecondsPerFrame(*r, small, smallCopy, frames));

        // The planet's impostor fills a disc of about a third of the view behind the model.
        if (GetFileAttributesA("1_earth_16k.jpg") != INVALID_FILE_ATTRIBUTES) {
            CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
            LoadedTexture earth = loadTexture(*r, L"1_earth_16k.jpg");
            show("default model in front of the planet",
                 millisecondsPerFrame(*r, small, smallCopy, frames, earth.view.Get()));
        }
    }

    Model big;
    generateSheet(big, 100, 100);
    GpuModelCopy bigCopy;
    bigCopy.setFactory(r->bufferFactory());
    bigCopy.rebuild(big);
    if (everything) {
        show("generated model (10000 patches)",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1));
    }
    for (Model::Patch& patch : big.patches)
        patch.alpha = 1;
    if (everything) {
        show("the same, all opaque",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1));
        show("the same, patches without their control nets",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1, nullptr, false));

        // A point drag: one point moves before every frame. As before, the whole pool sent and
        // every patch evaluated again; now, the point and its patches alone.
        const uint32_t dragged = static_cast<uint32_t>(big.points.size() / 2);
        show("point drag frames, every patch evaluated again",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1, nullptr, true,
                                  [&] {
                                      big.points[dragged].y += 1e-3f;
                                      bigCopy.allPointsMoved(big);
                                  }));
        show("point drag frames, the moved point's patches alone",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1, nullptr, true,
                                  [&] {
                                      big.points[dragged].y += 1e-3f;
                                      bigCopy.pointsMoved(big, {dragged});
                                  }));

        show("orbiting the 10000 patches",
             millisecondsPerFrame(*r, big, bigCopy, frames > 10 ? frames / 10 : 1, nullptr, true,
                                  {}, orbit));
    }
    // The displays that colour the surfaces, each against the shading they replace.
    FrameView shaded, zebra, curvature;
    shaded.shaded = zebra.shaded = curvature.shaded = true;
    zebra.zebra = true;
    curvature.curvature = true;
    const std::pair<const char*, FrameView> looks[] = {
        {"shaded", shaded}, {"zebra stripes", zebra}, {"curvature", curvature}};
    // Taken in turn, three rounds, the least of each: other work on the machine lengthens
    // frames by more than the displays differ.
    constexpr int kRounds = 3;
    double still[std::size(looks)], orbiting[std::size(looks)];
    std::fill(std::begin(still), std::end(still), INFINITY);
    std::fill(std::begin(orbiting), std::end(orbiting), INFINITY);
    for (int round = 0; round < (largeOnly ? 0 : kRounds); ++round)
        for (size_t k = 0; k < std::size(looks); ++k) {
            look = looks[k].second;
            still[k] = std::min(still[k], millisecondsPerFrame(*r, big, bigCopy, frames / 10 + 1));
            orbiting[k] =
                std::min(orbiting[k], millisecondsPerFrame(*r, big, bigCopy, frames / 10 + 1,
                                                           nullptr, true, {}, orbit));
        }
    for (size_t k = 0; k < std::size(looks) && !largeOnly; ++k)
        std::printf("%s, 10000 patches: %.3f ms per frame, orbiting %.3f (least of %d)\n",
                    looks[k].first, still[k], orbiting[k], kRounds);
    look = FrameView{};
    bigCopy.release();
    if (displaysOnly) return 0;

    Model huge;
    generateSheet(huge, 400, 250);
    GpuModelCopy hugeCopy;
    hugeCopy.setFactory(r->bufferFactory());
    hugeCopy.rebuild(huge);
    const int few = frames > 5 ? frames / 5 : 1;
    if (!dragOnly)
        show("generated model (100000 patches)", millisecondsPerFrame(*r, huge, hugeCopy, few));
    if (!dragOnly && !stillOnly)
        show("orbiting the 100000 patches",
             millisecondsPerFrame(*r, huge, hugeCopy, few, nullptr, true, {}, orbit));
    const uint32_t hugeDragged = static_cast<uint32_t>(huge.points.size() / 2);
    if (!stillOnly)
        show("point drag frames of the 100000 patches",
             millisecondsPerFrame(*r, huge, hugeCopy, few, nullptr, true, [&] {
                 huge.points[hugeDragged].y += 1e-3f;
                 hugeCopy.pointsMoved(huge, {hugeDragged});
             }));

    smallCopy.release();
    hugeCopy.release();
    r->releaseDevice();
    DestroyWindow(window);
    return 0;
}
