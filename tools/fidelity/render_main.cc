// fidelity-render: Coin3D's rendering of scene files into PNG pictures, many
// per run so that the X and GL set-up is paid once. Each job renders its
// first file from a camera that views all of it, then any further files
// (the same model converted) from exactly that camera.
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <CLI/CLI.hpp>

#include "tools/fidelity/coin_scene.h"
#include "tools/fidelity/glx_canvas.h"
#include "tools/fidelity/png_file.h"
#include "tools/fidelity/program_options.h"
#include "tools/fidelity/scene_renderer.h"
#include "tools/fidelity/tab_lines.h"
#include "tools/fidelity/view_camera.h"

namespace kavrel::fidelity {
namespace {

struct Job {
  std::string view;                     // a name ParseView takes
  std::vector<std::string> files;       // input, output PNG, input, output PNG, ...
};

// Lines go out as they are made, so that a crash inside Coin3D leaves the
// finished jobs' lines behind for the caller.
void Say(const std::string &line) {
  std::fputs((line + "\n").c_str(), stdout);
  std::fflush(stdout);
}

bool RenderFile(SceneRenderer &renderer, const std::string &input, const std::string &output,
                SoPerspectiveCamera *camera, std::string *error) {
  NodeRef scene = ReadScene(input, error);
  return scene && WritePng(output, renderer.Render(scene.get(), camera), error);
}

// Prints "camera<TAB>OUTPUT<TAB>camera description" for the first file,
// "rendered<TAB>OUTPUT" for each further one, "failed<TAB>OUTPUT<TAB>why"
// for any that failed (a failed first file ends the job).
bool RunJob(SceneRenderer &renderer, const Job &job) {
  View view;
  std::string error;
  const std::string first_output = job.files.size() >= 2 ? job.files[1] : "";
  if (job.files.size() < 2 || job.files.size() % 2 != 0) {
    Say("failed\t" + first_output + "\ta job needs pairs of INPUT and OUTPUT.png");
    return false;
  }
  if (!ParseView(job.view, &view)) {
    Say("failed\t" + first_output + "\tunknown view '" + job.view + "' (front, above-front-left)");
    return false;
  }
  NodeRef scene = ReadScene(job.files[0], &error);
  NodeRef camera = scene ? CameraViewingAll(scene.get(), view, renderer.viewport(), &error) : nullptr;
  auto *perspective = static_cast<SoPerspectiveCamera *>(camera.get());
  if (!camera || !WritePng(first_output, renderer.Render(scene.get(), perspective), &error)) {
    Say("failed\t" + first_output + "\t" + error);
    return false;
  }
  scene.reset();
  Say("camera\t" + first_output + "\t" + DescribeCamera(*perspective));
  bool all = true;
  for (size_t i = 2; i < job.files.size(); i += 2) {
    const std::string &output = job.files[i + 1];
    bool ok = RenderFile(renderer, job.files[i], output, perspective, &error);
    Say(ok ? "rendered\t" + output : "failed\t" + output + "\t" + error);
    all = all && ok;
  }
  return all;
}

int Run(int argc, char **argv) {
  CLI::App app{"Renders Inventor, VRML 1.0 and VRML97 files with Coin3D on the X display: a perspective camera "
               "viewing all of the first file from the view, one headlight, the background colour. Further "
               "files are rendered from the first one's camera, which is printed as position, focal point, "
               "view-up and vertical view angle in degrees.",
               "fidelity-render"};
  int size = 256;
  Rgb background{255, 0, 255};
  std::string view = "front", jobs_path;
  std::vector<std::string> files;
  app.add_option("INPUT_AND_OUTPUT", files, "INPUT OUTPUT.png, then further INPUT OUTPUT.png pairs");
  app.add_option("--view", view, "front or above-front-left (default front)");
  app.add_option("--size", size, "Width and height of the pictures in pixels (default 256)")
      ->check(CLI::Range(16, 4096));
  AddColourOption(app, "--background", &background, "Background colour");
  AddListOption(app, "--jobs", &jobs_path,
                "Run each line's VIEW<TAB>INPUT<TAB>OUTPUT.png[<TAB>INPUT<TAB>OUTPUT.png...]", "INPUT_AND_OUTPUT");
  CLI11_PARSE(app, argc, argv);
  if (jobs_path.empty() && files.empty()) {
    std::cerr << "fidelity-render: give INPUT OUTPUT.png or --jobs FILE\n";
    return 1;
  }
  std::string error;
  std::unique_ptr<GlxCanvas> canvas = GlxCanvas::Open(size, size, &error);
  if (!canvas) {
    std::cerr << "fidelity-render: " << error << "\n";
    return 1;
  }
  InitCoin();
  SceneRenderer renderer(*canvas, background);
  if (jobs_path.empty()) return RunJob(renderer, {view, files}) ? 0 : 1;
  return RunEachLine("fidelity-render", jobs_path, [&](const std::vector<std::string> &fields) {
    return RunJob(renderer, {fields[0], std::vector<std::string>(fields.begin() + 1, fields.end())});
  });
}

}  // namespace
}  // namespace kavrel::fidelity

int main(int argc, char **argv) { return kavrel::fidelity::Run(argc, argv); }
