// Streamed encoding and decoding of the encrypted file format.
#include "crypto/file_stream.h"

#include <QFileInfo>
#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "crypto/ansi_text.h"
#include "crypto/block_reader.h"
#include "crypto/cipher.h"
#include "crypto/error_codes.h"
#include "crypto/file_format.h"
#include "crypto/handoff.h"
#include "crypto/huffman_plan.h"
#include "crypto/korva_state.h"
#include "core/output_file.h"
#include "crypto/salt.h"
#include "crypto/source_file.h"

namespace vx::korva {
namespace {

using namespace std::chrono_literals;
using Buffer = std::vector<std::uint8_t>;

constexpr qsizetype kDefaultChunk = qsizetype(1) << 20;
constexpr qsizetype kBannerSize = 29;
constexpr qsizetype kCheckpointStep = 5000;
constexpr qsizetype kCountStep = 64 * 1024;
constexpr int kBuffers = 4;
constexpr double kCountShare = 10;  // percent of an encoding spent counting

qsizetype g_chunk = kDefaultChunk;

const QString kChanged = QStringLiteral(
    "The source changed while it was read (size, time or content); nothing was written");

// One piece travelling down the stages, or the error that ended a stage.
struct Piece {
    Buffer data;
    qsizetype size = 0;
    QString error;
};

// A stage on a thread of its own; its queues are closed and the thread joined however the
// operation ends.
class Stage {
public:
    template <typename F>
    explicit Stage(F f) : m_thread(std::move(f)) {}
    ~Stage() { join(); }
    void join() {
        if (m_thread.joinable()) m_thread.join();
    }

private:
    std::thread m_thread;
};

// Deciphers or enciphers data[0..n) on the calling thread, yielding after every multiple of
// 5000 of the stream position (pos counts the bytes of the stretch before data). False when
// aborted.
template <typename Op>
bool cipherWithCheckpoints(std::uint8_t* data, qsizetype n, qsizetype pos, qsizetype total,
                           double from, double share, Op op) {
    qsizetype i = 0;
    while (i < n) {
        const qsizetype next = std::min(n, (((pos + i) / kCheckpointStep) + 1) * kCheckpointStep - pos);
        op(data + i, next - i);
        i = next;
        const double fraction = total > 0 ? double(pos + i) / double(total) : 1.0;
        if ((pos + i) % kCheckpointStep == 0 || pos + i == total)
            if (!checkpoint(from + fraction * share)) return false;
    }
    return true;
}

// Waits for the next piece on the user-interface thread, yielding while it waits. False when
// aborted.
bool awaitPiece(Handoff<Piece>& queue, std::optional<Piece>& piece, double percent) {
    for (;;) {
        bool timedOut = false;
        piece = queue.popFor(20ms, timedOut);
        if (!timedOut) return true;
        if (!checkpoint(percent)) return false;
    }
}

bool mayReplace(const QString& output, const QString& source, QString& why) {
    const QFileInfo out(output);
    if (!out.exists() && !out.isSymLink()) return true;
    if (!out.isSymLink() && out.canonicalFilePath() == QFileInfo(source).canonicalFilePath())
        return true;
    const auto& ask = state().ConfirmReplace;
    if (!ask || ask(output)) return true;
    why = output + QStringLiteral(" exists and was not replaced");
    return false;
}

// The counting reading: byte values, xor and content hash over the whole source, the second
// half counted by a helper thread. Progress 0..10 %. 0, or the abort or file error code.
int countSource(const SourceFile& in, huffman::ValueCounter& counter, quint64& hash, QString& why) {
    const qint64 len = in.stamp().size;
    const qsizetype chunk = g_chunk;
    const qint64 pieces = (len + chunk - 1) / chunk;
    const qint64 split = (pieces + 1) / 2;
    std::atomic<bool> stop{false}, helperFinished{false};
    std::atomic<qint64> counted{0};
    auto helperCounter = std::make_unique<huffman::ValueCounter>();
    quint64 helperHash = 0;
    QString helperError;
    Stage helper([&] {
        Buffer buf(size_t(chunk) + 8);
        for (qint64 p = split; p < pieces && !stop; ++p) {
            const qsizetype n = qsizetype(std::min<qint64>(chunk, len - p * chunk));
            if (Status s = in.readAt(p * chunk, buf.data(), n); !s) {
                helperError = s.message();
                break;
            }
            helperCounter->add(buf.data(), n);
            helperHash = combineHash(helperHash, pieceHash(buf.data(), n), p);
            counted += n;
        }
        helperFinished = true;
    });
    auto progress = [&] { return double(counted) / double(std::max<qint64>(len, 1)) * kCountShare; };
    auto finishWith = [&](int code) {
        stop = true;
        helper.join();
        return code;
    };
    Buffer buf(size_t(chunk) + 8);
    for (qint64 p = 0; p < split; ++p) {
        const qsizetype n = qsizetype(std::min<qint64>(chunk, len - p * chunk));
        if (Status s = in.readAt(p * chunk, buf.data(), n); !s) {
            why = s.message();
            return finishWith(kEncodeFileError);
        }
        for (qsizetype i = 0; i < n; i += kCountStep) {
            const qsizetype step = std::min(kCountStep, n - i);
            counter.add(buf.data() + i, step);
            counted += step;
            if (!checkpoint(progress())) return finishWith(kEncodeAborted);
        }
        hash = combineHash(hash, pieceHash(buf.data(), n), p);
    }
    while (!helperFinished) {
        std::this_thread::sleep_for(1ms);
        if (!checkpoint(progress())) return finishWith(kEncodeAborted);
    }
    finishWith(0);
    if (!helperError.isEmpty()) {
        why = helperError;
        return kEncodeFileError;
    }
    counter.merge(*helperCounter);
    hash ^= helperHash;
    return 0;
}

}  // namespace

void setStreamChunkSize(qsizetype bytes) { g_chunk = bytes > 0 ? bytes : kDefaultChunk; }

int encodeStreamed(const QString& source, const QString& output, const QByteArray& extension,
                   const QString& key, const QString& privateKey, QString& why) {
    SourceFile in;
    if (Status s = in.open(source); !s) {
        why = s.message();
        return kEncodeFileError;
    }
    if (!mayReplace(output, source, why)) return kEncodeFileError;
    const qint64 len = in.stamp().size;
    state().LastProgress = 0;

    // A content longer than the block's length field can state is stored whatever its bytes,
    // so it is read once; any other is counted first.
    const bool counted = len <= huffman::kLongestCompressed;
    auto counter = std::make_unique<huffman::ValueCounter>();
    quint64 firstHash = 0;
    if (counted) {
        if (const int code = countSource(in, *counter, firstHash, why); code != 0) return code;
        const Result<SourceStamp> afterCount = in.stampNow();
        if (!afterCount || afterCount.value() != in.stamp()) {
            why = kChanged;
            return kEncodeFileError;
        }
    }

    // The block's opening, and whether the content goes in packed or as it is.
    huffman::Plan plan;
    bool stored = !counted;
    if (!stored) {
        plan = huffman::planFor(counter->counts());
        stored = huffman::storedBlockFor(plan, len);
    }
    Buffer opening;
    qsizetype blockLen = 0;
    if (stored) {
        opening.assign({'H', 'E', '0', '\r'});
        blockLen = 4 + len;
    } else {
        opening.resize(size_t(huffman::openingSize(plan)) + 8);
        huffman::writeOpening(opening.data(), counter->checksum(), len, plan);
        opening.resize(size_t(huffman::openingSize(plan)));
        blockLen = huffman::compressedSize(plan);
    }
    counter.reset();

    const QByteArray salt = CreateSalt();
    QByteArray header = salt + extension;
    header.append('\0');
    QByteArray check = salt.right(2);
    InitCipher(key, privateKey);
    cipher().encrypt(reinterpret_cast<std::uint8_t*>(header.data()), size_t(header.size()));

    OutputFile out(output);
    const QByteArray banner = cryptoFileBanner();
    Status written = out.open();
    if (written) written = out.write(banner.constData(), banner.size());
    if (written) written = out.write(header.constData(), header.size());
    if (!written) {
        why = written.message();
        return kEncodeFileError;
    }

    // Reading and packing -> enciphering (here) -> writing.
    const qsizetype chunk = g_chunk;
    const qsizetype room = stored ? chunk : huffman::StreamPacker::roomFor(plan, chunk);
    Handoff<Piece> toCipher(2), toWriter(2), spare(kBuffers + 1);
    for (int i = 0; i < kBuffers; ++i) spare.push(Piece{Buffer(size_t(std::max(room, chunk)) + 16), 0, {}});
    std::atomic<bool> stop{false};
    quint64 secondHash = 0;

    Stage reader([&] {
        std::optional<huffman::StreamPacker> packer;
        if (!stored) packer.emplace(plan, len);
        Buffer input(stored ? 0 : size_t(chunk) + 8);
        const qint64 pieces = (len + chunk - 1) / chunk;
        for (qint64 p = 0; p < pieces && !stop; ++p) {
            std::optional<Piece> piece = spare.pop();
            if (!piece) return;
            const qsizetype n = qsizetype(std::min<qint64>(chunk, len - p * chunk));
            std::uint8_t* at = stored ? piece->data.data() : input.data();
            if (Status s = in.readAt(p * chunk, at, n); !s) {
                toCipher.push(Piece{{}, 0, s.message()});
                return;
            }
            secondHash = combineHash(secondHash, pieceHash(at, n), p);
            if (stored) {
                piece->size = n;
            } else {
                piece->size = packer->pack(at, n, piece->data.data());
                if (p + 1 == pieces) piece->size += packer->finish(piece->data.data() + piece->size);
            }
            if (!toCipher.push(std::move(*piece))) return;
        }
        toCipher.close();
    });
    QString writeError;
    Stage writer([&] {
        while (std::optional<Piece> piece = toWriter.pop()) {
            if (writeError.isEmpty()) {
                if (Status s = out.write(piece->data.data(), piece->size); !s) {
                    writeError = s.message();
                    stop = true;
                    toCipher.close();
                    spare.close();
                }
            }
            spare.push(std::move(*piece));
        }
    });
    auto stopStages = [&](int code) {
        stop = true;
        toCipher.close();
        toWriter.close();
        spare.close();
        reader.join();
        writer.join();
        return code;
    };

    // The opening goes first, then every piece, enciphered as one stream.
    qsizetype pos = 0;
    auto encipher = [](std::uint8_t* d, qsizetype n) { cipher().encrypt(d, size_t(n)); };
    if (!cipherWithCheckpoints(opening.data(), qsizetype(opening.size()), pos, blockLen,
                               kCountShare, 100 - kCountShare, encipher))
        return stopStages(kEncodeAborted);
    pos += qsizetype(opening.size());
    written = out.write(opening.data(), qsizetype(opening.size()));
    if (!written) {
        why = written.message();
        return stopStages(kEncodeFileError);
    }
    for (;;) {
        std::optional<Piece> piece;
        if (!awaitPiece(toCipher, piece,
                        kCountShare + double(pos) / double(blockLen) * (100 - kCountShare)))
            return stopStages(kEncodeAborted);
        if (!piece) break;
        if (!piece->error.isEmpty()) {
            why = piece->error;
            return stopStages(kEncodeFileError);
        }
        if (!cipherWithCheckpoints(piece->data.data(), piece->size, pos, blockLen, kCountShare,
                                   100 - kCountShare, encipher))
            return stopStages(kEncodeAborted);
        pos += piece->size;
        if (!toWriter.push(std::move(*piece))) break;
    }
    toWriter.close();
    reader.join();
    writer.join();
    if (!writeError.isEmpty()) {
        why = writeError;
        return kEncodeFileError;
    }
    cipher().encrypt(reinterpret_cast<std::uint8_t*>(check.data()), 2);
    written = out.write(check.constData(), 2);
    if (!written) {
        why = written.message();
        return kEncodeFileError;
    }

    const Result<SourceStamp> afterPack = in.stampNow();
    if (pos != blockLen || (counted && secondHash != firstHash) || !afterPack || afterPack.value() != in.stamp()) {
        why = kChanged;
        return kEncodeFileError;
    }
    if (Status s = out.commit(in.stamp().mode); !s) {
        why = s.message();
        return kEncodeFileError;
    }
    return 0;
}

int decodeStreamed(const QString& source, const QString& target, OutputNamer outputFor,
                   const QString& key, const QString& privateKey, QString& output, QString& why) {
    SourceFile in;
    if (Status s = in.open(source); !s) {
        why = s.message();
        return kDecodeFileError;
    }
    const qint64 U = in.stamp().size - 1;
    InitCipher(key, privateKey);
    // An image that ends with its banner has no salt length: reading it runs past the end.
    if (U < kBannerSize) {
        why = QStringLiteral("Reading past the end of the file");
        return kDecodeFileError;
    }

    // Salt and extension, deciphered byte by byte from a small window.
    Buffer window;
    qint64 windowAt = 0;
    auto byteAt = [&](qint64 pos, std::uint8_t& b) -> Status {
        if (pos < windowAt || pos >= windowAt + qint64(window.size())) {
            window.resize(size_t(std::min<qint64>(64 * 1024, U + 1 - pos)));
            windowAt = pos;
            if (Status s = in.readAt(pos, window.data(), qsizetype(window.size())); !s) return s;
        }
        b = window[size_t(pos - windowAt)];
        return Status::ok();
    };
    auto decipherAt = [&](qint64 pos, std::uint8_t& d) -> bool {
        std::uint8_t b = 0;
        if (Status s = byteAt(pos, b); !s) {
            why = s.message();
            return false;
        }
        d = DecryptByte(b);
        return true;
    };
    std::uint8_t L = 0;
    if (!decipherAt(kBannerSize, L)) return kDecodeFileError;
    if (kBannerSize + L > U) return kFileDecodeFailed;
    std::uint8_t check1 = 0, check2 = 0;
    for (int k = 2; k <= L; ++k) {
        std::uint8_t d = 0;
        if (!decipherAt(kBannerSize + k - 1, d)) return kDecodeFileError;
        if (k == L - 1) check1 = d;
        if (k == L) check2 = d;
    }
    QByteArray extension;
    qint64 pos = kBannerSize + L;
    bool ended = false;
    while (pos <= U && !ended) {
        std::uint8_t d = 0;
        if (!decipherAt(pos++, d)) return kDecodeFileError;
        if (d == 0) ended = true;
        else if (extension.size() <= 4096) extension.append(char(d));
    }
    if (!ended) {
        why = QStringLiteral("The stored extension runs past the end of the file");
        return kDecodeFileError;
    }

    const qint64 start = pos;
    const qint64 last = U - start - 2;
    auto checkValue = [&](bool& matches) -> bool {
        std::uint8_t t1 = 0, t2 = 0;
        if (!decipherAt(U - 1, t1) || !decipherAt(U, t2)) return false;
        matches = t1 == check1 && t2 == check2;
        return true;
    };
    state().LastProgress = 0;
    if (last < 0) {
        bool matches = false;
        if (!checkValue(matches)) return kDecodeFileError;
        if (!matches) return kFileDecodeFailed;
        why = QStringLiteral("The file holds no compressed block");
        return kDecodeFileError;
    }

    // Reading -> deciphering (here) -> expanding and writing.
    const qint64 blockLen = last + 1;
    const qsizetype chunk = g_chunk;
    QString nameWhy;
    output = outputFor(target, extension, nameWhy);
    OutputFile out(output.isEmpty() ? target : output);
    if (Status s = out.open(); !s) {
        why = s.message();
        return kDecodeFileError;
    }
    Handoff<Piece> toCipher(2), toExpand(2), spare(kBuffers + 1);
    for (int i = 0; i < kBuffers; ++i) spare.push(Piece{Buffer(size_t(chunk)), 0, {}});
    std::atomic<bool> stop{false};
    BlockReader expander(blockLen, [&out](const std::uint8_t* p, qsizetype n) { return out.write(p, n); });

    Stage reader([&] {
        const qint64 pieces = (blockLen + chunk - 1) / chunk;
        for (qint64 p = 0; p < pieces && !stop; ++p) {
            std::optional<Piece> piece = spare.pop();
            if (!piece) return;
            piece->size = qsizetype(std::min<qint64>(chunk, blockLen - p * chunk));
            if (Status s = in.readAt(start + p * chunk, piece->data.data(), piece->size); !s) {
                toCipher.push(Piece{{}, 0, s.message()});
                return;
            }
            if (!toCipher.push(std::move(*piece))) return;
        }
        toCipher.close();
    });
    Stage expanding([&] {
        while (std::optional<Piece> piece = toExpand.pop()) {
            expander.feed(piece->data.data(), piece->size);
            spare.push(std::move(*piece));
        }
    });
    auto stopStages = [&](int code) {
        stop = true;
        toCipher.close();
        toExpand.close();
        spare.close();
        reader.join();
        expanding.join();
        return code;
    };

    qint64 done = 0;
    auto decipher = [](std::uint8_t* d, qsizetype n) { cipher().decrypt(d, d, size_t(n)); };
    for (;;) {
        std::optional<Piece> piece;
        if (!awaitPiece(toCipher, piece, double(done) / double(blockLen) * 100))
            return stopStages(kDecodeAborted);
        if (!piece) break;
        if (!piece->error.isEmpty()) {
            why = piece->error;
            return stopStages(kDecodeFileError);
        }
        if (!cipherWithCheckpoints(piece->data.data(), piece->size, done, blockLen, 0, 100,
                                   decipher))
            return stopStages(kDecodeAborted);
        done += piece->size;
        if (!toExpand.push(std::move(*piece))) break;
    }
    toExpand.close();
    reader.join();
    expanding.join();

    bool matches = false;
    if (!checkValue(matches)) return kDecodeFileError;
    if (!matches) return kFileDecodeFailed;
    if (!expander.damage().isEmpty()) {
        why = expander.damage();
        return kDecodeFileError;
    }
    if (!expander.sinkStatus()) {
        why = expander.sinkStatus().message();
        return kDecodeFileError;
    }
    if (!expander.checksumMatches()) return kChecksum;
    if (output.isEmpty()) {
        why = nameWhy;
        return kDecodeFileError;
    }
    if (!mayReplace(output, source, why)) return kDecodeFileError;
    if (Status s = out.commit(in.stamp().mode); !s) {
        why = s.message();
        return kDecodeFileError;
    }
    return 0;
}

}  // namespace vx::korva
