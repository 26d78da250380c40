#include "platform/script_process.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>

const char* ScriptRunnerPath = nullptr;

namespace {

constexpr int WaitMilliseconds = 5000;

// The runner stands beside the program in a build folder, and under libexec
// once installed.
std::string RunnerPath() {
    if (ScriptRunnerPath != nullptr) return ScriptRunnerPath;
    char self[4096];
    const ssize_t size = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string path = size > 0 ? std::string(self, static_cast<size_t>(size)) : "";
    const std::string folder = path.substr(0, path.rfind('/') + 1);
    const std::string beside = folder + "qarno-script-runner";
    if (access(beside.c_str(), X_OK) == 0) return beside;
    return folder + QARNO_RUNNER_FOLDER "/qarno-script-runner";
}

// Starts the runner on `socket` as its standard input and output, its
// standard error silenced, every signal at its default, no environment.
pid_t Spawn(int socket, std::string& error) {
    posix_spawn_file_actions_t files;
    posix_spawnattr_t attributes;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, socket, 0);
    posix_spawn_file_actions_adddup2(&files, socket, 1);
    posix_spawn_file_actions_addopen(&files, 2, "/dev/null", O_WRONLY, 0);
    posix_spawnattr_init(&attributes);
    sigset_t signals;
    sigemptyset(&signals);
    posix_spawnattr_setsigmask(&attributes, &signals);
    for (int s : {SIGPIPE, SIGXCPU, SIGXFSZ, SIGSEGV, SIGINT, SIGTERM, SIGCHLD})
        sigaddset(&signals, s);
    posix_spawnattr_setsigdefault(&attributes, &signals);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const std::string path = RunnerPath();
    char* argv[] = {const_cast<char*>(path.c_str()), nullptr};
    char* envp[] = {nullptr};
    pid_t pid = -1;
    const int status = posix_spawn(&pid, path.c_str(), &files, &attributes, argv, envp);
    posix_spawn_file_actions_destroy(&files);
    posix_spawnattr_destroy(&attributes);
    if (status != 0) {
        error = "the script runner " + path + " cannot start: " + std::strerror(status);
        return -1;
    }
    return pid;
}

// Sends the request and reads the answer until the runner closes its side;
// false when the time ran out or the answer grew past any whole answer.
bool Exchange(int socket, const std::string& request, size_t most, std::string& answer) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(WaitMilliseconds);
    size_t sent = 0;
    for (;;) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd watch = {socket, short(POLLIN | (sent < request.size() ? POLLOUT : 0)), 0};
        if (poll(&watch, 1, static_cast<int>(left.count()) + 1) < 0 && errno != EINTR) return false;
        if (sent < request.size() && (watch.revents & POLLOUT)) {
            const ssize_t put = send(socket, request.data() + sent, request.size() - sent,
                                     MSG_NOSIGNAL | MSG_DONTWAIT);
            if (put > 0) sent += static_cast<size_t>(put);
            if (put < 0 && errno != EAGAIN && errno != EINTR) sent = request.size();
            if (sent == request.size()) shutdown(socket, SHUT_WR);
        }
        if (watch.revents & (POLLIN | POLLHUP | POLLERR)) {
            char block[65536];
            const ssize_t got = recv(socket, block, sizeof block, MSG_DONTWAIT);
            if (got == 0 || (got < 0 && errno != EAGAIN && errno != EINTR)) return true;
            if (got > 0) answer.append(block, static_cast<size_t>(got));
            if (answer.size() > most) return false;
        }
    }
}

// What the runner's end says when it gave no answer.
std::string EndMessage(int status) {
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGXCPU) return ScriptTimeMessage;
    if (WIFSIGNALED(status))
        return "the script interpreter crashed (" + std::string(strsignal(WTERMSIG(status))) + ")";
    return "the script interpreter failed (status " + std::to_string(WEXITSTATUS(status)) + ")";
}

} // namespace

ScriptAnswer RunScriptProcess(const ScriptRequest& request) {
    ScriptAnswer answer;
    int sockets[2];
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, sockets) != 0) {
        answer.error = std::string("the script runner cannot start: ") + std::strerror(errno);
        return answer;
    }
    const pid_t pid = Spawn(sockets[1], answer.error);
    close(sockets[1]);
    if (pid < 0) {
        close(sockets[0]);
        return answer;
    }
    const size_t most = 5 + ScriptMaxNameBytes + ScriptMaxBytes +
                        size_t(request.frames) * size_t(request.samples) * sizeof(float);
    std::string bytes;
    const bool answered = Exchange(sockets[0], EncodeScriptRequest(request), most, bytes);
    close(sockets[0]);
    if (!answered) kill(pid, SIGKILL);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (!answered && bytes.size() <= most)
        answer.error = ScriptTimeMessage;
    else if (!answered || !DecodeScriptAnswer(bytes, request, answer))
        answer.error = EndMessage(status);
    return answer;
}
