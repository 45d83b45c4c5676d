#pragma once

#include "drill/drill.h"

// Puts a drill into states its commands reach only after long sequences, or never (a card
// queued twice), so that tests can start from them. Tests only.
class DrillStateForTests {
public:
    static CardRefList &Queue(Drill &drill) { return drill.askQueue_; }
    static void SetQueue(Drill &drill, CardRefList queue) { drill.askQueue_ = std::move(queue); }
    static void SetCurrent(Drill &drill, TMondaiSet *card) { drill.current_ = card; }
    static void SetQueuePos(Drill &drill, int pos) { drill.queuePos_ = pos; }
    static void SetAnswerShown(Drill &drill, bool shown) { drill.answerShown_ = shown; }
    static void SetBookmarkCard(Drill &drill, TMondaiSet *card) { drill.bookmark_ = card; }
    static void SetJyun(Drill &drill, int jyun) { drill.jyun_ = jyun; }
};
