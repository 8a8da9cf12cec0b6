#pragma once

#include "common/unique_any.h"
#include "hostapi/pf_basic_types.h"

namespace kyrox {

template <auto Dispose>
class SuiteRelease;

// Gives a host object back through the suite it came from: the suite's table travels with the object.
template <class Suite, class Handle, A_Err (*Suite::*Dispose)(Handle)>
class SuiteRelease<Dispose> {
public:
    using suite_type = Suite;
    using handle_type = Handle;

    explicit SuiteRelease(const Suite& suite) noexcept : suite_(&suite) {}
    // The host's answer is of no use here: the object is given back either way.
    void operator()(Handle handle) const noexcept { (suite_->*Dispose)(handle); }

private:
    const Suite* suite_;
};

// An object the host made for the plug-in, disposed with Dispose, e.g.
// HostOwned<&AEGP_EffectSuite::AEGP_DisposeEffect>.
template <auto Dispose>
using HostOwned = unique_any<typename SuiteRelease<Dispose>::handle_type, SuiteRelease<Dispose>>;

// Takes what the host just gave; a null handle is held as empty and never disposed.
template <auto Dispose>
HostOwned<Dispose> own_host_object(typename SuiteRelease<Dispose>::handle_type handle,
                                   const typename SuiteRelease<Dispose>::suite_type& suite) noexcept
{
    return HostOwned<Dispose>(handle, SuiteRelease<Dispose>(suite));
}

}  // namespace kyrox
