#include "tests/fuzz/frames/baseline_server.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "tests/support/spawn_actions.h"

extern char** environ;

namespace kyrox::fuzz {

namespace {

constexpr const char* server_variable = "KYROX_FUZZ_BASELINE_SERVER";

// The whole buffer, across short reads; false at the end of the stream or on an error.
bool read_all(int fd, std::span<std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::read(fd, bytes.data() + done, bytes.size() - done);
        if (n == 0 || (n < 0 && errno != EINTR)) {
            return false;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return true;
}

// MSG_NOSIGNAL: a helper that died makes the write fail instead of raising SIGPIPE.
bool write_all(int fd, std::span<const std::uint8_t> bytes)
{
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n < 0 && errno != EINTR) {
            return false;
        }
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return true;
}

std::span<std::uint8_t> bytes_of(auto& value)
{
    return {reinterpret_cast<std::uint8_t*>(&value), sizeof value};
}

// This process's environment with the helper's path setting and marker in place of any of their own.
std::vector<std::string> helper_environment()
{
    std::vector<std::string> out;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string_view text(*entry);
        if (!text.starts_with("KYROX_SIMD=") && !text.starts_with("KYROX_DEBUG_FD=") &&
            !text.starts_with(std::string(server_variable) + "=")) {
            out.emplace_back(text);
        }
    }
    out.emplace_back("KYROX_SIMD=sse2");
    out.emplace_back(std::string(server_variable) + "=1");
    return out;
}

using kyrox::test::SpawnActions;

}  // namespace

std::unique_ptr<BaselineServer> BaselineServer::start()
{
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        return nullptr;
    }
    SpawnActions actions;
    posix_spawn_file_actions_adddup2(actions.get(), ends[1], 0);
    posix_spawn_file_actions_adddup2(actions.get(), ends[1], 1);
    std::vector<std::string> environment = helper_environment();
    std::vector<char*> env;
    for (std::string& entry : environment) {
        env.push_back(entry.data());
    }
    env.push_back(nullptr);
    std::string program = "/proc/self/exe";
    char* argv[] = {program.data(), nullptr};
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), actions.get(), nullptr, argv, env.data());
    ::close(ends[1]);
    if (spawned != 0) {
        ::close(ends[0]);
        return nullptr;
    }
    return std::unique_ptr<BaselineServer>(new BaselineServer(ends[0], pid));
}

BaselineServer::~BaselineServer()
{
    ::close(socket_);
    int status = 0;
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
}

bool BaselineServer::send(std::span<const std::uint8_t> input)
{
    std::uint32_t length = static_cast<std::uint32_t>(input.size());
    return write_all(socket_, bytes_of(length)) && write_all(socket_, input);
}

std::optional<std::uint64_t> BaselineServer::receive()
{
    std::uint64_t digest = 0;
    if (!read_all(socket_, bytes_of(digest))) {
        return std::nullopt;
    }
    return digest;
}

bool is_baseline_server()
{
    return std::getenv(server_variable) != nullptr;
}

void serve_baseline(DigestFunction digest)
{
    // The socket moves off the standard descriptors: whatever else writes to standard output (libFuzzer,
    // a sanitizer) goes to standard error and cannot end up in the answers.
    const int channel = ::fcntl(1, F_DUPFD_CLOEXEC, 3);
    ::dup2(2, 1);
    const int nothing = ::open("/dev/null", O_RDONLY | O_CLOEXEC);
    ::dup2(nothing, 0);
    ::close(nothing);
    std::vector<std::uint8_t> input;
    std::uint32_t length = 0;
    while (channel >= 0 && read_all(channel, bytes_of(length))) {
        input.resize(length);
        if (!read_all(channel, input)) {
            break;
        }
        std::uint64_t answer = digest(input);
        if (!write_all(channel, bytes_of(answer))) {
            break;
        }
    }
    ::close(channel);
    std::exit(0);
}

}  // namespace kyrox::fuzz
