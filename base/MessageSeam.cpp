// Default sink and the switch between sinks. The default never blocks: a build without a
// window system (the native tests) must not stop on a message nobody can answer.
#include "base/MessageSeam.h"

#include <atomic>
#include <cassert>
#include <cstdio>

namespace {
int ReportToStderr(const MessageRequest& request) {
    std::fprintf(stderr, "[message] text %u, caption %u\n", static_cast<unsigned>(request.text),
                 static_cast<unsigned>(request.caption));
    return mb::kIdOk;
}
std::atomic<MessageSink> g_sink{&ReportToStderr};
thread_local int t_zoneDepth = 0;
std::atomic<int> g_breaches{0};
}  // namespace

NoMessageZone::NoMessageZone() {
    ++t_zoneDepth;
}

NoMessageZone::~NoMessageZone() {
    --t_zoneDepth;
}

int MessageZoneBreaches() {
    return g_breaches.load();
}

MessageSink SetMessageSink(MessageSink sink) {
    return g_sink.exchange(sink != nullptr ? sink : &ReportToStderr);
}

int RaiseMessage(const MessageRequest& request) {
    if (t_zoneDepth > 0) {
        g_breaches.fetch_add(1);
        std::fprintf(stderr, "[message] refused inside a no-box zone: text %u, caption %u\n",
                     static_cast<unsigned>(request.text), static_cast<unsigned>(request.caption));
        assert(!"a box was asked for while a lock the window thread may need is held");
        return 0;
    }
    return g_sink.load()(request);
}
