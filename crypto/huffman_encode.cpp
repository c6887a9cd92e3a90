// HuffmanEncode: counts the byte values, builds the codes, and writes the compressed block, or
// the stored block when packing would not make the data smaller. The work runs in stretches
// between the fixed yield points, so the inner loops carry no checks.
#include <QByteArray>
#include <algorithm>
#include <cstring>
#include <memory>

#include "crypto/huffman_codec.h"
#include "crypto/huffman_format.h"
#include "crypto/huffman_plan.h"
#include "crypto/korva_state.h"

namespace vx::korva {
namespace {

using namespace huffman;

QByteArray storedBlock(const QByteArray& a, qsizetype len) {
    QByteArray block(kIdSize + len, Qt::Uninitialized);
    std::memcpy(block.data(), "HE0\r", kIdSize);
    if (len > 0) std::memcpy(block.data() + kIdSize, a.constData(), static_cast<size_t>(len));
    return block;
}

// Progress 0..3 %, a yield every 1000 bytes. The checksum is taken in the same pass, since it
// reads the same bytes. False when aborted.
bool countValues(const std::uint8_t* in, qsizetype len, ValueCounter& counter) {
    for (qsizetype i = 0; i < len; i += kCountInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 3)) return false;
        counter.add(in + i, std::min<qsizetype>(kCountInterval, len - i));
    }
    return true;
}

// The checksum stage's yields and progress, 3..6 %, every 10000 bytes; the xor itself was taken
// while counting. False when aborted.
bool checksumStage(qsizetype len) {
    for (qsizetype i = 0; i < len; i += kWorkInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 3 + 3)) return false;
    }
    return true;
}

// Writes the whole compressed block; progress 6..50 %. False when aborted.
bool writeBlock(const std::uint8_t* in, qsizetype len, std::uint8_t sum, const Plan& plan,
                QByteArray& block) {
    const qsizetype opening = openingSize(plan);
    const qsizetype size = compressedSize(plan);
    block = QByteArray(size + 8, Qt::Uninitialized);  // 8 bytes of room for whole-word stores
    auto* out = reinterpret_cast<std::uint8_t*>(block.data());
    writeOpening(out, sum, len, plan);

    BitWriter w(out + opening);
    const CodePacker packer(plan.codes, len);
    for (qsizetype i = 0; i < len; i += kWorkInterval) {
        if (!checkpoint(static_cast<double>(i) / static_cast<double>(len) * 44 + 3 + 3))
            return false;
        packer.pack(in + i, std::min<qsizetype>(kWorkInterval, len - i), w);
    }
    w.alignToByte();
    block.resize(size);
    return true;
}

}  // namespace

void HuffmanEncode(QByteArray& A, qsizetype Len) {
    Len = std::clamp<qsizetype>(Len, 0, A.size());
    if (Len == 0) {
        A = storedBlock(A, 0);
        return;
    }
    const auto* in = reinterpret_cast<const std::uint8_t*>(A.constData());
    auto counter = std::make_unique<ValueCounter>();
    if (!countValues(in, Len, *counter)) return;

    if (Len > kLongestCompressed) {
        A = storedBlock(A, Len);
        return;
    }
    const Plan plan = planFor(counter->counts());
    if (storedBlockFor(plan, Len)) {
        A = storedBlock(A, Len);
        return;
    }
    if (!checksumStage(Len)) return;
    QByteArray block;
    if (!writeBlock(in, Len, counter->checksum(), plan, block)) return;
    A = std::move(block);
}

}  // namespace vx::korva
