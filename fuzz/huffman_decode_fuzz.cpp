// Fuzz target for HuffmanDecode. The first input byte picks a mode:
//   0: the rest is decoded as a block;
//   1: the rest is encoded and decoded back, which must give it unchanged;
//   2: the rest (after 4 control bytes) is encoded, one byte of the block is changed and the
//      block may be cut short, then decoded;
//   3: like 1, but the abort flag is set at a yield chosen by the input.
// With bit 7 of the first byte set, the payload of modes 1..3 is repeated to at least 24000
// bytes, so that blocks pass the decoder's yield points every 10000 block bytes.
// Whatever happens, a failed or aborted decode must leave the array as it was.
#include <QByteArray>
#include <cstdint>
#include <cstdlib>

#include "core/yield.h"
#include "crypto/huffman_codec.h"
#include "crypto/korva_state.h"

using namespace vx::korva;

namespace {

void require(bool ok) {
    if (!ok) std::abort();
}

void decodeChecked(QByteArray block, qsizetype len) {
    const QByteArray before = block;
    state().ErrorCode = 0;
    const vx::Status s = HuffmanDecode(block, len);
    if (!s.isOk() || state().AbortFlag) require(block == before);
    if (!s.isOk()) require(!s.message().isEmpty());
}

void roundTrip(const QByteArray& input) {
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    state().ErrorCode = 0;
    require(HuffmanDecode(a, a.size()).isOk());
    require(a == input && state().ErrorCode == 0);
}

void damaged(const std::uint8_t* d, std::size_t n) {
    if (n < 4) return;
    QByteArray a(reinterpret_cast<const char*>(d + 4), static_cast<qsizetype>(n - 4));
    HuffmanEncode(a, a.size());
    const qsizetype at = (d[0] | (d[1] << 8)) % a.size();
    a[at] = static_cast<char>(a[at] ^ d[2]);
    decodeChecked(a, a.size() - std::min<qsizetype>(d[3] % 4, a.size()));
}

void aborted(const std::uint8_t* d, std::size_t n) {
    if (n < 1) return;
    const int abortAt = d[0] % 16 + 1;
    int yields = 0;
    vx::setYieldHook([&] {
        if (++yields == abortAt) state().AbortFlag = true;
    });
    const QByteArray input(reinterpret_cast<const char*>(d + 1), static_cast<qsizetype>(n - 1));
    QByteArray a = input;
    HuffmanEncode(a, a.size());
    if (state().AbortFlag) {
        require(a == input);
    } else {
        decodeChecked(a, a.size());
    }
    vx::setYieldHook({});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    resetState();
    const std::uint8_t* rest = data + 1;
    const std::size_t n = size - 1;
    QByteArray bytes(reinterpret_cast<const char*>(rest), static_cast<qsizetype>(n));
    const int mode = data[0] & 3;
    if ((data[0] & 0x80) && mode != 0 && n > 4) {
        const QByteArray unit = bytes.mid(mode == 1 ? 0 : 4);
        while (bytes.size() < 24000) bytes += unit;
        rest = reinterpret_cast<const std::uint8_t*>(bytes.constData());
    }
    switch (mode) {
        case 0: decodeChecked(bytes, bytes.size()); break;
        case 1: roundTrip(bytes); break;
        case 2: damaged(rest, static_cast<std::size_t>(bytes.size())); break;
        default: aborted(rest, static_cast<std::size_t>(bytes.size())); break;
    }
    return 0;
}
