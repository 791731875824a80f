#pragma once

#include <array>
#include <atomic>
#include <cstddef>

// Single-producer, single-consumer queue of a few small values, lock-free and without
// allocation: one side pushes, the other pops, each on its own thread. Capacity - 1 items
// fit. Used between the GUI thread and the sound device's real-time thread.
template<typename T, std::size_t Capacity>
class TSpscRing
{
    static_assert((Capacity & (Capacity - 1)) == 0, "capacity must be a power of two");

public:
    // Producer side. False when full.
    bool Push(const T &value)
    {
        const std::size_t tail = m_tail.load(std::memory_order_relaxed);
        const std::size_t next = (tail + 1) & (Capacity - 1);
        if (next == m_head.load(std::memory_order_acquire))
            return false;
        m_items[tail] = value;
        m_tail.store(next, std::memory_order_release);
        return true;
    }

    // Consumer side. The front item without removing it; null when empty.
    const T *Front() const
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        if (head == m_tail.load(std::memory_order_acquire))
            return nullptr;
        return &m_items[head];
    }

    // Consumer side. False when empty.
    bool Pop(T &value)
    {
        const T *front = Front();
        if (!front)
            return false;
        value = *front;
        Drop();
        return true;
    }

    // Consumer side: removes the front item (there must be one).
    void Drop()
    {
        const std::size_t head = m_head.load(std::memory_order_relaxed);
        m_head.store((head + 1) & (Capacity - 1), std::memory_order_release);
    }

    bool Empty() const
    {
        return m_head.load(std::memory_order_acquire) == m_tail.load(std::memory_order_acquire);
    }

    // Only while neither side is running (the device is stopped).
    void Clear()
    {
        m_head.store(0, std::memory_order_relaxed);
        m_tail.store(0, std::memory_order_relaxed);
    }

private:
    std::array<T, Capacity> m_items {};
    alignas(64) std::atomic<std::size_t> m_head { 0 };
    alignas(64) std::atomic<std::size_t> m_tail { 0 };
};
