#include "platform/core/call_log.h"

#include <vector>

#include "platform/platform_control.h"

namespace orvex_platform {

namespace {
bool g_enabled = false;
std::vector<std::string>& entries() {
    static std::vector<std::string> list;
    return list;
}
}  // namespace

bool call_log_enabled() { return g_enabled; }
int& api_depth() {
    static int depth = 0;
    return depth;
}
void append_call(std::string entry) { entries().push_back(std::move(entry)); }

void enable_call_log(bool on) { g_enabled = on; }
std::vector<std::string> call_log() { return entries(); }
void clear_call_log() { entries().clear(); }

}  // namespace orvex_platform
