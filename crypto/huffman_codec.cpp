// Text wrappers of the Huffman codec: one byte per character through the module's code page.
#include "crypto/huffman_codec.h"

#include "crypto/ansi_text.h"

namespace vx::korva {

QString CompressString(const QString& text) {
    QByteArray bytes = ansiBytes(text);
    HuffmanEncode(bytes, bytes.size());
    return ansiText(bytes);
}

Result<QString> DecompressString(const QString& text) {
    QByteArray bytes = ansiBytes(text);
    if (Status s = HuffmanDecode(bytes, bytes.size()); !s.isOk()) return s;
    return ansiText(bytes);
}

}  // namespace vx::korva
