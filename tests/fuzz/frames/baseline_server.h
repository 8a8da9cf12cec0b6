#pragma once

#include <sys/types.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

namespace kyrox::fuzz {

// A frame digest function: what both sides of the path comparison run over the same input.
using DigestFunction = std::uint64_t (*)(std::span<const std::uint8_t>);

// A helper copy of this program that renders every input on the baseline instruction path: the path is
// read once per process from KYROX_SIMD, so the one process cannot render on both. The helper reads
// length-prefixed inputs on its standard input and answers each with the 64-bit digest of its frame;
// when this side goes away (its end of the socket closes), the helper's next read ends and it exits.
class BaselineServer {
public:
    // Starts the helper (this program with KYROX_SIMD=sse2); nothing when it cannot be started.
    static std::unique_ptr<BaselineServer> start();
    ~BaselineServer();
    BaselineServer(const BaselineServer&) = delete;
    BaselineServer& operator=(const BaselineServer&) = delete;

    // Hands the helper an input; its digest is read later, so both sides render at the same time.
    bool send(std::span<const std::uint8_t> input);
    // The helper's digest of the input sent last; nothing when the helper has died.
    std::optional<std::uint64_t> receive();

private:
    BaselineServer(int socket, pid_t pid) : socket_(socket), pid_(pid) {}

    int socket_;
    pid_t pid_;
};

// Whether this process was started as the helper.
bool is_baseline_server();

// The helper's loop: answers inputs with digest(input) until its standard input ends, then exits.
[[noreturn]] void serve_baseline(DigestFunction digest);

}  // namespace kyrox::fuzz
