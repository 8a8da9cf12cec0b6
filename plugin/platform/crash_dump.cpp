#include "plugin/platform/crash_dump.h"

#include "plugin/platform/crash_dump_detail.h"
#include "plugin/platform/crash_dump_platform.h"
#include "plugin/platform/platform.h"
#include "plugin/resources/effect_version.h"

#include <atomic>
#include <cstdio>
#include <string_view>

namespace kyrox {

namespace {

constexpr const char* plugin_name = "Kyrox";
constexpr std::string_view maker_folder_name = "Ostrivale";
constexpr std::string_view log_folder_name = "Error Logs";
constexpr std::string_view support_address = "support@ostrivale.com";

std::atomic<const CrashDumpEnvironment*> installed_environment{nullptr};

const CrashDumpEnvironment& environment() noexcept
{
    const CrashDumpEnvironment* installed = installed_environment.load(std::memory_order_acquire);
    return installed != nullptr ? *installed : system_crash_dump_environment();
}

std::filesystem::path dump_file_name(const platform::LocalTime& time, long process, long thread)
{
    char label[64];
    std::snprintf(label, sizeof label, "%s_v%d.%d.%d", plugin_name, KYROX_VERSION_MAJOR, KYROX_VERSION_MINOR,
                  KYROX_VERSION_BUILD);
    char name[160];
    std::snprintf(name, sizeof name, "%s-%04d%02d%02d-%02d%02d%02d-%ld-%ld.dmp", label, time.year, time.month, time.day,
                  time.hour, time.minute, time.second, process, thread);
    return name;
}

// The texts are plain ASCII, so widening them character by character is exact.
void append(NativeString& text, std::string_view ascii)
{
    text.append(ascii.begin(), ascii.end());
}

NativeString crash_message(const std::filesystem::path& dump_file)
{
    NativeString message;
    append(message, plugin_name);
    append(message, " has encountered an unrecoverable error.\n\n"
                    "Please compress the following file and contact support (");
    append(message, support_address);
    append(message, "):\n\n");
    message += dump_file.native();
    return message;
}

void write_crash_dump_throwing(const FaultRecord* fault)
{
    const CrashDumpEnvironment& env = environment();
    const platform::LocalTime time = env.local_time();
    std::filesystem::path documents = env.documents_folder();
    if (documents.empty()) {
        documents = env.temporary_folder();
    }
    const std::filesystem::path maker_folder = documents / maker_folder_name;
    const std::filesystem::path log_folder = maker_folder / log_folder_name;
    platform::create_folder(maker_folder);
    platform::create_folder(log_folder);

    const long thread = env.thread_id();
    const std::filesystem::path file = log_folder / dump_file_name(time, env.process_id(), thread);
    write_dump_file(file, fault, thread);
    env.notify(crash_message(file));
}

}  // namespace

int write_crash_dump(const FaultRecord* fault) noexcept
{
    try {
        write_crash_dump_throwing(fault);
    } catch (...) {
        // Out of memory while building paths: there is nothing left to report with.
    }
    return 1;
}

const CrashDumpEnvironment& system_crash_dump_environment() noexcept
{
    static constexpr CrashDumpEnvironment system{
        platform::local_time, platform::documents_folder,  platform::temporary_folder,
        platform::process_id, platform::current_thread_id, show_crash_message,
    };
    return system;
}

void set_crash_dump_environment(const CrashDumpEnvironment* replacement) noexcept
{
    installed_environment.store(replacement, std::memory_order_release);
}

}  // namespace kyrox
