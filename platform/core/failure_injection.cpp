// Failures that tests provoke (platform_control.h): each kind on or off.
#include <bitset>

#include "platform/platform_control.h"

namespace orvex_platform {

namespace {
std::bitset<32>& injected() {  // room for every kind
    static std::bitset<32> failures;
    return failures;
}
}  // namespace

void inject_failure(Failure what, bool on) { injected().set(static_cast<std::size_t>(what), on); }
bool failure_injected(Failure what) { return injected().test(static_cast<std::size_t>(what)); }

}  // namespace orvex_platform
