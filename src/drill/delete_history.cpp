#include "drill/delete_history.h"

void DeleteHistory::Push(DeletedCard deleted) {
    entries_.push_front(std::move(deleted));
    while (entries_.size() > Capacity)
        entries_.pop_back();
}

DeletedCard DeleteHistory::Pop() {
    if (entries_.empty())
        return {};
    DeletedCard newest = std::move(entries_.front());
    entries_.pop_front();
    return newest;
}
