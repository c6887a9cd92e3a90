// Unaligned little-endian loads and stores, and the 64-bit bit packer of the Huffman block: the
// first bit of a field goes to bit 0 of a byte, the eighth to bit 7. Internal to the module.
#pragma once

#include <cstdint>
#include <cstring>

namespace vx::korva::huffman {

inline std::uint64_t load64(const std::uint8_t* p) {
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;  // the platform is little-endian (x86-64, AArch64)
}

inline void store64(std::uint8_t* p, std::uint64_t v) { std::memcpy(p, &v, sizeof v); }
inline void store32(std::uint8_t* p, std::uint32_t v) { std::memcpy(p, &v, sizeof v); }

// Packs bit fields after one another. It always stores whole 64-bit words, so the buffer must
// have 8 bytes of room after the last byte that receives bits.
class BitWriter {
public:
    explicit BitWriter(std::uint8_t* out) : m_out(out) {}

    // Appends the low `length` bits of `bits` (higher bits must be 0); `length` at most 56.
    void put(std::uint64_t bits, unsigned length) {
        add(bits, length);
        flush();
    }
    // Appends without flushing: at most 56 bits in all between two flush() calls.
    void add(std::uint64_t bits, unsigned length) {
        m_buf |= bits << m_count;
        m_count += length;
    }
    // Writes out the whole bytes held; at most 7 bits stay behind.
    void flush() {
        store64(m_out, m_buf);
        m_out += m_count >> 3;
        m_buf >>= (m_count & 56u);
        m_count &= 7u;
    }
    // Completes a partly filled byte with zero bits and moves past it.
    void alignToByte() {
        flush();
        if (m_count > 0) ++m_out;
        m_buf = 0;
        m_count = 0;
    }
    std::uint8_t* position() const { return m_out; }
    // Goes on writing into another buffer; the bits of a partly filled byte come along.
    void moveTo(std::uint8_t* out) { m_out = out; }

private:
    std::uint8_t* m_out;
    std::uint64_t m_buf = 0;
    unsigned m_count = 0;
};

}  // namespace vx::korva::huffman
