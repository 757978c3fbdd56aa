// SPDX-License-Identifier: GPL-3.0-or-later
#include "sound/waves.h"

#include <QtEndian>

#include <cmath>
#include <numbers>

namespace knight {

namespace {

// A tone of the given pitch that dies away exponentially, added into the samples from start.
void addTone(std::vector<qint16> &samples, double seconds, double start, double hertz, double decay, double loudness)
{
    const std::size_t first = std::size_t(start * waveSampleRate);
    const std::size_t count = std::size_t(seconds * waveSampleRate);
    if (samples.size() < first + count)
        samples.resize(first + count, 0);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = double(i) / waveSampleRate;
        // A few milliseconds of fade-in keep the start from cracking.
        const double envelope = std::min(1.0, t / 0.002) * std::exp(-t * decay);
        const double value = samples[first + i] + loudness * 32767 * envelope * std::sin(2 * std::numbers::pi * hertz * t);
        samples[first + i] = qint16(std::clamp(value, -32767.0, 32767.0));
    }
}

template<typename T>
void append(QByteArray &bytes, T value)
{
    char buffer[sizeof(T)];
    qToLittleEndian(value, buffer);
    bytes.append(buffer, sizeof(T));
}

} // namespace

std::vector<qint16> clickSamples()
{
    std::vector<qint16> samples;
    addTone(samples, 0.06, 0, 1800, 90, 0.5);
    addTone(samples, 0.06, 0, 900, 60, 0.3);
    return samples;
}

std::vector<qint16> endSamples()
{
    std::vector<qint16> samples;
    addTone(samples, 0.45, 0, 659.25, 6, 0.4);   // E5
    addTone(samples, 0.6, 0.18, 987.77, 5, 0.4); // B5
    return samples;
}

QByteArray waveFile(const std::vector<qint16> &samples)
{
    const quint32 dataBytes = quint32(samples.size() * sizeof(qint16));
    QByteArray bytes;
    bytes.append("RIFF");
    append<quint32>(bytes, 36 + dataBytes);
    bytes.append("WAVEfmt ");
    append<quint32>(bytes, 16);                  // the format chunk's size
    append<quint16>(bytes, 1);                   // PCM
    append<quint16>(bytes, 1);                   // mono
    append<quint32>(bytes, waveSampleRate);
    append<quint32>(bytes, waveSampleRate * 2);  // bytes a second
    append<quint16>(bytes, 2);                   // bytes a frame
    append<quint16>(bytes, 16);                  // bits a sample
    bytes.append("data");
    append<quint32>(bytes, dataBytes);
    for (const qint16 sample : samples)
        append<qint16>(bytes, sample);
    return bytes;
}

} // namespace knight
