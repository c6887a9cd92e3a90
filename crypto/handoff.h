// A bounded queue between the stages of a streamed file operation (reading, the codec, the
// cipher, writing), each on its own thread. Closing it wakes every waiter: a stage that stops
// early (abort, error) closes its queues and the others wind down.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>

namespace vx::korva {

template <typename T>
class Handoff {
public:
    explicit Handoff(size_t capacity) : m_capacity(capacity) {}

    // Waits for room; false when the queue was closed (the item is dropped).
    bool push(T item) {
        std::unique_lock lock(m_mutex);
        m_room.wait(lock, [&] { return m_closed || m_items.size() < m_capacity; });
        if (m_closed) return false;
        m_items.push_back(std::move(item));
        m_ready.notify_one();
        return true;
    }

    // Waits for an item; nothing once the queue is closed and empty.
    std::optional<T> pop() {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [&] { return m_closed || !m_items.empty(); });
        return takeLocked();
    }

    // As pop, but gives up after the wait and says so through `timedOut`, so that the
    // user-interface thread can yield in between.
    std::optional<T> popFor(std::chrono::milliseconds wait, bool& timedOut) {
        std::unique_lock lock(m_mutex);
        timedOut = !m_ready.wait_for(lock, wait, [&] { return m_closed || !m_items.empty(); });
        return timedOut ? std::nullopt : takeLocked();
    }

    // No more items: waiters wake; items already queued can still be taken.
    void close() {
        std::lock_guard lock(m_mutex);
        m_closed = true;
        m_ready.notify_all();
        m_room.notify_all();
    }

private:
    std::optional<T> takeLocked() {
        if (m_items.empty()) return std::nullopt;
        T item = std::move(m_items.front());
        m_items.pop_front();
        m_room.notify_one();
        return item;
    }

    std::mutex m_mutex;
    std::condition_variable m_ready, m_room;
    std::deque<T> m_items;
    size_t m_capacity;
    bool m_closed = false;
};

}  // namespace vx::korva
