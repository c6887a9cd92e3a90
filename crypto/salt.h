// The random salt that opens every encrypted file and text, and the entropy pool of mouse
// positions that stirs it.
#pragma once

#include <QByteArray>

namespace vx::korva {

// A new salt of L bytes, 32 <= L <= 255, whose first byte is L; the last two bytes serve as
// the key check value of the formats. Mixes the entropy pool in through sixteen throw-away
// keys, so it leaves the module's cipher keyed with one of them: callers key the cipher
// afterwards. Every call gives a new salt.
QByteArray CreateSalt();

// Records a mouse position: a position equal to the last one adds nothing; otherwise one
// byte, (round(X) xor round(Y)) and 255, is appended and the pool keeps its newest 251 bytes.
void AddMouseEntropy(float X, float Y);

// The pool as it stands (for tests and the window).
const QByteArray& entropyPool();

// Empties the pool and forgets the last position (tests only; the program never clears it).
void resetEntropyPool();

}  // namespace vx::korva
