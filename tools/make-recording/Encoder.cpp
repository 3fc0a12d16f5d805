#include "Encoder.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <fstream>

#include "ToolError.h"

extern char** environ;

namespace makerec {

namespace {

std::string lastLine(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::string last;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (!line.empty()) {
            last = line;
        }
    }
    return last;
}

}  // namespace

Encoder::Encoder(int width, int height, int fps, size_t seconds, bool audio)
    : width_(width), height_(height), fps_(fps), seconds_(seconds), audio_(audio) {}

std::vector<std::string> Encoder::arguments(const std::string& outPath) const {
    const std::string duration = std::to_string(seconds_);
    // Sound encoding dominates the time of long recordings; at 8 kHz and 16 kbit/s an hour
    // takes seconds (a higher bit rate at 8 kHz makes the encoder four times slower).
    const bool longRoute = seconds_ > kLongRoute;
    const std::string sampleRate = longRoute ? "8000" : "16000";
    const std::string bitRate = longRoute ? "16k" : "32k";
    std::vector<std::string> args = {"ffmpeg",
                                     "-nostdin",
                                     "-hide_banner",
                                     "-v",
                                     "error",
                                     "-y",
                                     "-f",
                                     "lavfi",
                                     "-i",
                                     "testsrc2=size=" + std::to_string(width_) + "x" +
                                         std::to_string(height_) + ":rate=" + std::to_string(fps_) +
                                         ":duration=" + duration};
    if (audio_) {
        args.insert(args.end(),
                    {"-f", "lavfi", "-i",
                     "sine=frequency=440:sample_rate=" + sampleRate + ":duration=" + duration,
                     "-filter:a", "volume=0.05", "-c:a", "aac", "-ac", "1", "-b:a", bitRate});
    }
    args.insert(args.end(), {"-c:v", "libx264", "-preset", "ultrafast", "-pix_fmt", "yuv420p", "-t",
                             duration, "-f", "mp4", outPath});
    return args;
}

void Encoder::run(const std::string& outPath, const std::string& logPath) const {
    const std::vector<std::string> args = arguments(outPath);
    std::vector<char*> argv;
    for (const std::string& a : args) {
        argv.push_back(const_cast<char*>(a.c_str()));
    }
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, logPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, "ffmpeg", &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        throw ToolError(std::string("cannot run ffmpeg: ") + std::strerror(spawned));
    }
    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) {
            throw ToolError(std::string("lost track of ffmpeg: ") + std::strerror(errno));
        }
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        const std::string why = lastLine(logPath);
        throw ToolError("ffmpeg failed" + (why.empty() ? std::string() : ": " + why));
    }
}

}  // namespace makerec
