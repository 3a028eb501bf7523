#pragma once

#include <functional>
#include <list>
#include <memory>
#include <utility>

namespace widgets::tk {

// Keeps the values of the most recently asked keys, at most `capacity` of them; an older one is made
// again when asked for. Values are shared, so one still in use outlives its place in the cache.
template<typename Key, typename Value>
class RecentCache
{
public:
    explicit RecentCache(std::size_t capacity) : m_capacity(capacity) {}

    std::shared_ptr<const Value> get(const Key &key, const std::function<std::shared_ptr<const Value>()> &make)
    {
        for (auto it = m_entries.begin(); it != m_entries.end(); ++it) {
            if (it->first == key) {
                m_entries.splice(m_entries.begin(), m_entries, it);
                return m_entries.front().second;
            }
        }
        std::shared_ptr<const Value> made = make();
        m_entries.emplace_front(key, made);
        if (m_entries.size() > m_capacity)
            m_entries.pop_back();
        return made;
    }

private:
    std::size_t m_capacity;
    std::list<std::pair<Key, std::shared_ptr<const Value>>> m_entries; // the most recent first
};

} // namespace widgets::tk
