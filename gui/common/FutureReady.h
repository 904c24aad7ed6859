// Whether a worker's future holds its result now, without waiting: the
// window thread looks every few milliseconds instead of blocking.
#pragma once

#include <chrono>
#include <future>

namespace rumone {

template <typename Future>
bool futureReady(const Future& future)
{
    return future.valid() && future.wait_for(std::chrono::seconds(0)) == std::future_status::ready;
}

}  // namespace rumone
