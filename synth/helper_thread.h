// Work shared between the calling thread and one helper thread.
#pragma once

#include <system_error>
#include <thread>

// Runs helperWork on a new thread while the calling thread runs callerWork,
// and returns when both are done. Without useHelper, or when no thread can be
// started, the calling thread runs callerWork and then helperWork.
template <typename CallerWork, typename HelperWork>
void WithHelperThread(bool useHelper, const CallerWork& callerWork, const HelperWork& helperWork) {
    std::thread helper;
    if (useHelper) {
        try {
            helper = std::thread(helperWork);
        } catch (const std::system_error&) {
            // No thread to be had: the calling thread does both parts.
        }
    }
    callerWork();
    if (helper.joinable())
        helper.join();
    else
        helperWork();
}
