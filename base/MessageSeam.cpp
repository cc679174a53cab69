// Default sink and the switch between sinks. The default never blocks: a build without a
// window system (the native tests) must not stop on a message nobody can answer.
#include "base/MessageSeam.h"

#include <atomic>
#include <cstdio>

namespace {
int ReportToStderr(const MessageRequest& request) {
    std::fprintf(stderr, "[message] text %u, caption %u\n", static_cast<unsigned>(request.text),
                 static_cast<unsigned>(request.caption));
    return mb::kIdOk;
}
std::atomic<MessageSink> g_sink{&ReportToStderr};
}  // namespace

MessageSink SetMessageSink(MessageSink sink) {
    return g_sink.exchange(sink != nullptr ? sink : &ReportToStderr);
}

int RaiseMessage(const MessageRequest& request) {
    return g_sink.load()(request);
}
