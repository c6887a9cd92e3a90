// HuffmanDecode: checks the identification, reads the header and code table, rebuilds the tree
// and decodes the data through a 12-bit lookup table, walking the tree only for long codes and
// near the ends of the data and the output. Every damage ends in an error; reads stay inside
// the block and writes inside the output.
#include <QByteArray>
#include <algorithm>
#include <memory>

#include "crypto/bit_packing.h"
#include "crypto/huffman_codec.h"
#include "crypto/huffman_data_decoder.h"
#include "crypto/huffman_decode_tree.h"
#include "crypto/huffman_format.h"
#include "crypto/huffman_opening.h"
#include "crypto/korva_state.h"

namespace vx::korva {
namespace {

using namespace huffman;

// Yields at every block position (counted from 1) that is a multiple of 10000, when the
// decoder reaches that byte; progress 45..95 %.
class BlockProgress {
public:
    BlockProgress(qsizetype blockLen, qsizetype dataStart) : m_len(blockLen) {
        const qsizetype firstPosition = (dataStart / kWorkInterval + 1) * kWorkInterval;
        m_next = firstPosition - 1;  // index of that byte
    }
    std::uint64_t limitBit() const {
        return m_next < m_len ? static_cast<std::uint64_t>(m_next) * 8
                              : static_cast<std::uint64_t>(m_len) * 8;
    }
    // Runs the checkpoints of every byte the decoder has taken bits from (or, when more output
    // is needed, is about to). False when aborted.
    bool pass(std::uint64_t bit, bool moreNeeded) {
        while (m_next < m_len) {
            const auto start = static_cast<std::uint64_t>(m_next) * 8;
            if (start > bit || (start == bit && !moreNeeded)) break;
            const double position = static_cast<double>(m_next + 1);
            if (!checkpoint(position / static_cast<double>(m_len) * 50 + 45)) return false;
            m_next += kWorkInterval;
        }
        return true;
    }

private:
    qsizetype m_len;
    qsizetype m_next;
};

enum class Outcome { Ok, Aborted, Failed };

// Decodes the data into `out` and gives the xor of its bytes in `sum`.
Outcome decodeData(const DecodeTree& tree, const std::uint8_t* b, qsizetype len, const Opening& h,
                   QByteArray& out, std::uint8_t& sum, QString& error) {
    out = QByteArray(h.outLen, Qt::Uninitialized);
    auto* o = reinterpret_cast<std::uint8_t*>(out.data());
    DataDecoder decoder(tree, b, len, static_cast<std::uint64_t>(h.dataStart) * 8, o,
                        o + h.outLen);
    BlockProgress progress(len, h.dataStart);
    Stop stop = decoder.full() ? Stop::Done : Stop::Limit;
    while (stop == Stop::Limit) {
        stop = decoder.run(progress.limitBit());
        if (stop == Stop::NoCode) {
            error = damagedError("the data holds a bit sequence that is no code");
            return Outcome::Failed;
        }
        if (stop == Stop::DataEnd) {
            error = damagedError("data ends before the stated length");
            return Outcome::Failed;
        }
        if (!progress.pass(decoder.bit(), stop != Stop::Done)) return Outcome::Aborted;
    }
    sum = decoder.checksum();
    return Outcome::Ok;
}

// The checksum stage's yields and progress, 50..100 %, every 10000 output bytes; the xor itself
// was taken while decoding. False when aborted.
bool checksumStage(qsizetype count) {
    for (qsizetype i = 0; i < count; i += kWorkInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(count) * 50 + 5 + 45))
            return false;
    }
    return true;
}

bool isIdentified(const std::uint8_t* b, qsizetype len) {
    return len >= kIdSize && b[0] == 'H' && b[1] == 'E' && b[3] == '\r' &&
           (b[2] == kCompressedTag || b[2] == kStoredTag);
}

}  // namespace

Status HuffmanDecode(QByteArray& A, qsizetype Len) {
    if (Len < 0 || Len > A.size())
        return Status::error(damagedError("block length outside the array"));
    const auto* b = reinterpret_cast<const std::uint8_t*>(A.constData());
    if (!isIdentified(b, Len)) return Status::error(identificationError());
    if (b[2] == kStoredTag) {
        A = A.mid(kIdSize, Len - kIdSize);
        return Status::ok();
    }

    Opening h;
    auto tree = std::make_unique<DecodeTree>();
    if (QString e = readOpening(b, Len, h, *tree); !e.isEmpty()) return Status::error(e);

    QByteArray out;
    std::uint8_t sum = 0;
    QString error;
    switch (decodeData(*tree, b, Len, h, out, sum, error)) {
        case Outcome::Failed: return Status::error(error);
        case Outcome::Aborted: return Status::ok();
        case Outcome::Ok: break;
    }
    if (!checksumStage(out.size())) return Status::ok();
    if (sum != h.check) {
        state().ErrorCode = kChecksumErrorCode;
        state().ErrorMessage = checksumErrorMessage();
    }
    A = std::move(out);
    return Status::ok();
}

}  // namespace vx::korva
