#pragma once

// Two-path polyphase half-band filter (one first-order all-pass per path),
// used either as a two-times upsampler or as a two-times downsampler.
class PolyphaseHalfBand
{
public:
    PolyphaseHalfBand();

    // Reads blockSize samples, writes 2 * blockSize.
    void upsample (const float* in, float* out);
    // Reads 2 * blockSize samples, writes blockSize.
    void downsample (const float* in, float* out);

    void clearNonFiniteMemory();

    // The two coefficients of the order-5 elliptic half-band design with a
    // transition bandwidth of 0.1, in 64-bit.
    static double designCoefficient (int index);

    int blockSize = 512;
    float cA = 0, cB = 0;
    float xA = 0, xB = 0;
    float yA = 0, yB = 0;
};
