// Expands a Huffman block that arrives in pieces (as a file is deciphered chunk by chunk) with
// memory that does not depend on its size, and reaches the same outcome as HuffmanDecode on the
// whole block: the same output, the same damage descriptions, the same checksum verdict.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "core/status.h"

namespace vx::korva {

namespace huffman {
class DataDecoder;
class DecodeTree;
struct Opening;
}  // namespace huffman

class BlockReader {
public:
    // Receives the expanded bytes in order; an error stops the reader.
    using Sink = std::function<Status(const std::uint8_t*, qsizetype)>;

    // blockLen: the size of the whole block; outChunk: the largest piece handed to the sink.
    BlockReader(qsizetype blockLen, Sink sink, qsizetype outChunk = qsizetype(1) << 20);
    ~BlockReader();
    BlockReader(const BlockReader&) = delete;
    BlockReader& operator=(const BlockReader&) = delete;

    // The next n bytes of the block. Once the block is judged damaged, or the sink failed,
    // further bytes are ignored.
    void feed(const std::uint8_t* p, qsizetype n);

    // After the last byte: the damage (the identification error, or "The compressed data is
    // corrupt (...)"), or an empty text.
    QString damage() const { return m_damage; }
    // The sink's failure, if any.
    const Status& sinkStatus() const { return m_sinkStatus; }
    // After the last byte of an undamaged block: whether the expanded bytes match the stored
    // checksum (a stored block has none and always matches).
    bool checksumMatches() const;

private:
    enum class Phase { Id, Stored, Opening, Data, Done, Failed };
    void fail(const QString& why);
    void takeOpening();
    void decodeData(bool last);
    bool deliver(const std::uint8_t* p, qsizetype n);
    bool deliverOutput();

    qsizetype m_blockLen;
    qsizetype m_fed = 0;
    Sink m_sink;
    qsizetype m_outChunk;
    Phase m_phase = Phase::Id;
    QString m_damage;
    Status m_sinkStatus = Status::ok();

    std::vector<std::uint8_t> m_in;  // bytes not yet used (the opening, then the data)
    std::uint64_t m_bit = 0;         // next data bit within m_in
    std::unique_ptr<huffman::Opening> m_opening;
    std::unique_ptr<huffman::DecodeTree> m_tree;
    std::unique_ptr<huffman::DataDecoder> m_decoder;
    std::vector<std::uint8_t> m_out;
    qsizetype m_outLeft = 0;  // bytes still to expand
    std::uint8_t m_sum = 0;
};

}  // namespace vx::korva
