// Test stand-in for the message boxes: records every (text id, caption id, flags, owner) raised
// while it is installed, answers IDOK, and restores the previous sink when it goes.
#pragma once

#include <gtest/gtest.h>

#include <vector>

#include "base/MessageSeam.h"

struct RecordedMessage {
    uint32_t text;
    uint32_t caption;
    uint32_t flags;
    MessageOwner owner;
    void* window;
};

class MessageRecorder {
  public:
    MessageRecorder() : previous_(SetMessageSink(&Record)) { Messages().clear(); }
    ~MessageRecorder() { SetMessageSink(previous_); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    static std::vector<RecordedMessage>& Messages() {
        static std::vector<RecordedMessage> messages;
        return messages;
    }
    const std::vector<RecordedMessage>& messages() const { return Messages(); }
    size_t size() const { return Messages().size(); }
    void clear() { Messages().clear(); }

    // Exactly one box was raised, with this text, caption and flags, owned by the main window.
    void ExpectOnly(uint32_t text, uint32_t caption, uint32_t flags) const {
        ASSERT_EQ(size(), 1u);
        const RecordedMessage& m = Messages()[0];
        EXPECT_EQ(m.text, text);
        EXPECT_EQ(m.caption, caption);
        EXPECT_EQ(m.flags, flags);
        EXPECT_EQ(m.owner, MessageOwner::MainWindow);
    }

    // Box i (of those raised so far) had this text, caption, flags and owner.
    void ExpectAt(size_t i, uint32_t text, uint32_t caption, uint32_t flags,
                  MessageOwner owner = MessageOwner::MainWindow) const {
        ASSERT_GT(size(), i);
        const RecordedMessage& m = Messages()[i];
        EXPECT_EQ(m.text, text) << "box " << i;
        EXPECT_EQ(m.caption, caption) << "box " << i;
        EXPECT_EQ(m.flags, flags) << "box " << i;
        EXPECT_EQ(m.owner, owner) << "box " << i;
    }

  private:
    static int Record(const MessageRequest& r) {
        Messages().push_back({r.text, r.caption, r.flags, r.owner, r.window});
        return mb::kIdOk;
    }
    MessageSink previous_;
};
