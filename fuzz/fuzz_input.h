#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace hvr::fuzz {

// The fuzzer's bytes read as a program reads its input: numbers and pieces taken off the front,
// zero and empty once they run out.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    bool empty() const { return m_at >= m_size; }
    std::uint8_t byte() { return empty() ? 0 : m_data[m_at++]; }
    // So many bytes, or what is left.
    std::vector<std::uint8_t> bytes(std::size_t n) {
        const std::size_t take = std::min(n, m_size - std::min(m_at, m_size));
        std::vector<std::uint8_t> out(m_data + m_at, m_data + m_at + take);
        m_at += take;
        return out;
    }
    // Up to the next NUL (taken off too), or what is left.
    std::string text() {
        std::string out;
        while (!empty() && m_data[m_at] != 0)
            out += static_cast<char>(m_data[m_at++]);
        if (!empty()) ++m_at;
        return out;
    }
    std::string rest() {
        std::string out(reinterpret_cast<const char*>(m_data) + std::min(m_at, m_size),
                        m_size - std::min(m_at, m_size));
        m_at = m_size;
        return out;
    }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace hvr::fuzz
