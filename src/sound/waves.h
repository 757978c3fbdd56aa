// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

#include <vector>

namespace knight {

// The gallop's beat, made from numbers rather than recorded: 16-bit mono PCM at 22,050 Hz.
inline constexpr int waveSampleRate = 22050;

// A short wooden click for each step, and a rising two-note chime when the gallop ends.
std::vector<qint16> clickSamples();
std::vector<qint16> endSamples();

// The samples as a WAV file.
QByteArray waveFile(const std::vector<qint16> &samples);

} // namespace knight
