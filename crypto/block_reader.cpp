// Streamed expansion of a Huffman block.
#include "crypto/block_reader.h"

#include <algorithm>

#include "crypto/huffman_data_decoder.h"
#include "crypto/huffman_decode_tree.h"
#include "crypto/huffman_format.h"
#include "crypto/huffman_opening.h"

namespace vx::korva {
namespace {

using namespace huffman;

// The decoder may run past its bit limit by one group of probes and one code (at most 255
// bits); this many bytes stay unread at the end of a piece until the next one arrives.
constexpr qsizetype kReserve = 64;
// Output room one group of probes needs; see DataDecoder.
constexpr qsizetype kOutRoom = 16;

}  // namespace

BlockReader::BlockReader(qsizetype blockLen, Sink sink, qsizetype outChunk)
    : m_blockLen(blockLen), m_sink(std::move(sink)), m_outChunk(std::max<qsizetype>(outChunk, 64)) {
    if (m_blockLen < kIdSize) fail(identificationError());
}

BlockReader::~BlockReader() = default;

void BlockReader::fail(const QString& why) {
    m_damage = why;
    m_phase = Phase::Failed;
    m_in.clear();
    m_in.shrink_to_fit();
}

bool BlockReader::deliver(const std::uint8_t* p, qsizetype n) {
    if (n == 0) return true;
    m_sinkStatus = m_sink(p, n);
    if (m_sinkStatus.isOk()) return true;
    m_phase = Phase::Failed;
    return false;
}

bool BlockReader::checksumMatches() const {
    return m_phase == Phase::Stored || !m_opening || m_sum == m_opening->check;
}

void BlockReader::feed(const std::uint8_t* p, qsizetype n) {
    n = std::min(n, m_blockLen - m_fed);
    if (n <= 0) return;
    m_fed += n;
    const bool last = m_fed == m_blockLen;
    switch (m_phase) {
        case Phase::Stored: deliver(p, n); return;
        case Phase::Done:
        case Phase::Failed: return;
        default: break;
    }
    m_in.insert(m_in.end(), p, p + n);
    if (m_phase == Phase::Id) {
        if (m_in.size() < size_t(kIdSize)) return;
        const std::uint8_t* b = m_in.data();
        if (!(b[0] == 'H' && b[1] == 'E' && b[3] == '\r' &&
              (b[2] == kCompressedTag || b[2] == kStoredTag)))
            return fail(identificationError());
        if (b[2] == kStoredTag) {
            m_phase = Phase::Stored;
            const std::vector<std::uint8_t> rest(m_in.begin() + kIdSize, m_in.end());
            m_in.clear();
            deliver(rest.data(), qsizetype(rest.size()));
            return;
        }
        m_phase = Phase::Opening;
    }
    if (m_phase == Phase::Opening) {
        const qsizetype have = qsizetype(m_in.size());
        if (have < openingBytesNeeded(m_in.data(), have, m_blockLen)) return;
        takeOpening();
    }
    if (m_phase == Phase::Data) decodeData(last);
}

void BlockReader::takeOpening() {
    m_opening = std::make_unique<Opening>();
    m_tree = std::make_unique<DecodeTree>();
    if (QString e = readOpening(m_in.data(), m_blockLen, *m_opening, *m_tree); !e.isEmpty())
        return fail(e);
    m_outLeft = m_opening->outLen;
    m_out.resize(size_t(std::min(m_outChunk, m_outLeft) + kOutRoom));
    m_bit = static_cast<std::uint64_t>(m_opening->dataStart) * 8;
    m_decoder = std::make_unique<DataDecoder>(*m_tree, m_in.data(), qsizetype(m_in.size()), m_bit,
                                              m_out.data(), m_out.data() + std::min(m_outChunk, m_outLeft));
    m_phase = m_outLeft == 0 ? Phase::Done : Phase::Data;
}

bool BlockReader::deliverOutput() {
    std::uint8_t* begin = m_out.data();
    const qsizetype n = m_decoder->output() - begin;
    if (!deliver(begin, n)) return false;
    m_outLeft -= n;
    m_decoder->setOutput(begin, begin + std::min(m_outChunk, m_outLeft));
    return true;
}

void BlockReader::decodeData(bool last) {
    const auto len = qsizetype(m_in.size());
    const std::uint64_t limit =
        last ? static_cast<std::uint64_t>(len) * 8
             : static_cast<std::uint64_t>(std::max<qsizetype>(len - kReserve, 0)) * 8;
    if (!last && limit <= m_bit) return;
    m_decoder->setInput(m_in.data(), len, m_bit);
    for (;;) {
        const Stop stop = m_decoder->run(limit);
        if (stop == Stop::NoCode)
            return fail(damagedError("the data holds a bit sequence that is no code"));
        if (stop == Stop::DataEnd) return fail(damagedError("data ends before the stated length"));
        if (stop == Stop::Limit) break;
        // The output buffer is full: hand it on; the block is done when nothing is left.
        if (!deliverOutput()) return;
        if (m_outLeft == 0) {
            m_sum = m_decoder->checksum();
            m_phase = Phase::Done;
            m_in.clear();
            return;
        }
    }
    // Keep the bytes from the one holding the next bit on.
    m_bit = m_decoder->bit();
    const auto used = static_cast<qsizetype>(m_bit >> 3);
    m_in.erase(m_in.begin(), m_in.begin() + used);
    m_bit &= 7;
    if (last) {
        // The data ran out on the limit itself without filling the output.
        fail(damagedError("data ends before the stated length"));
    }
}

}  // namespace vx::korva
