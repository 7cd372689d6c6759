#pragma once

// An independent, deliberately plain model of the whole signal path, written
// from the documented arithmetic (not from the engine's code): 32-bit
// samplers, 64-bit bands, the documented rounding points and gating. The
// processor must agree with it to about 1e-6 relative.

#include <cmath>
#include <vector>

struct ReferenceEqualiser
{
    struct Band
    {
        double b0 = 0, b1 = 0, b2 = 0, a1 = 0, a2 = 0, x1 = 0, x2 = 0, y1 = 0, y2 = 0;
        double c = 1, s = 0, g = 1;
        bool bypass = false, solo = false;
    };

    struct AllPass
    {
        float c, x = 0, y = 0;
        float step (float in) { y = (in - y) * c + x; x = in; return y; }
    };

    Band bands[5];
    AllPass upA[2] { { 0.236471027135849f }, { 0.236471027135849f } };
    AllPass upB[2] { { 0.7145421504974365f }, { 0.7145421504974365f } };
    AllPass downA[2] { { 0.236471027135849f }, { 0.236471027135849f } };
    AllPass downB[2] { { 0.7145421504974365f }, { 0.7145421504974365f } };

    // values: the band's gain, freq, width, angle, level, type, bypass, solo.
    void setBand (int k, const double* v, double hostRate)
    {
        auto& b = bands[k];
        const double fs = (double) (float) (hostRate * 2.0);
        const double f = (double) (float) (16.0 * std::pow (1375.0, v[1]));
        const double gainDb = (double) (float) (40.0 * v[0] - 20.0);
        const float w = (float) v[2];
        const double q = w < 0.5f ? (double) (w * 0.8f + 0.1f) : (double) (w * w * w * w * 6.4f + 0.1f);
        const double theta = (double) (float) v[3] * M_PI / 2.0;
        b.c = std::cos (theta);
        b.s = std::sin (theta);
        b.g = (double) std::pow (10.0f, (float) ((v[4] - 0.5) * 2.0));
        const int type = (int) (1.0 / (v[5] - 0.001)) - 1;
        b.bypass = v[6] != 0.0;
        b.solo = (float) v[7] == 1.0f;

        const double w0 = 2.0 * M_PI * f / fs, cs = std::cos (w0), sn = std::sin (w0);
        const double alpha = sn / (2.0 * q), A = std::pow (10.0, gainDb / 40.0);
        const double beta = 2.0 * std::sqrt (A) * alpha;
        double c[6]; // b0 b1 b2 a0 a1 a2
        switch (type)
        {
            case 0: c[0] = (1 - cs) / 2; c[1] = 1 - cs; c[2] = (1 - cs) / 2; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 1: c[0] = (1 + cs) / 2; c[1] = -(1 + cs); c[2] = (1 + cs) / 2; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 2: c[0] = alpha; c[1] = 0; c[2] = -alpha; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 3: c[0] = sn / 2; c[1] = 0; c[2] = -sn / 2; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 4: c[0] = 1; c[1] = -2 * cs; c[2] = 1; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 5: c[0] = 1 - alpha; c[1] = -2 * cs; c[2] = 1 + alpha; c[3] = 1 + alpha; c[4] = -2 * cs; c[5] = 1 - alpha; break;
            case 6: c[0] = 1 + alpha * A; c[1] = -2 * cs; c[2] = 1 - alpha * A; c[3] = 1 + alpha / A; c[4] = -2 * cs; c[5] = 1 - alpha / A; break;
            case 7:
                c[0] = A * ((A + 1) - (A - 1) * cs + beta); c[1] = 2 * A * ((A - 1) - (A + 1) * cs); c[2] = A * ((A + 1) - (A - 1) * cs - beta);
                c[3] = (A + 1) + (A - 1) * cs + beta; c[4] = -2 * ((A - 1) + (A + 1) * cs); c[5] = (A + 1) + (A - 1) * cs - beta; break;
            default:
                c[0] = A * ((A + 1) + (A - 1) * cs + beta); c[1] = -2 * A * ((A - 1) + (A + 1) * cs); c[2] = A * ((A + 1) + (A - 1) * cs - beta);
                c[3] = (A + 1) - (A - 1) * cs + beta; c[4] = 2 * ((A - 1) - (A + 1) * cs); c[5] = (A + 1) - (A - 1) * cs - beta; break;
        }
        b.b0 = c[0] / c[3]; b.b1 = c[1] / c[3]; b.b2 = c[2] / c[3]; b.a1 = c[4] / c[3]; b.a2 = c[5] / c[3];
    }

    void process (float* left, float* right, int n)
    {
        float* io[2] = { left, right };
        std::vector<float> over[2] = { std::vector<float> ((size_t) n * 2), std::vector<float> ((size_t) n * 2) };
        for (int ch = 0; ch < 2; ++ch)
            for (int j = 0; j < n; ++j)
            {
                float x = io[ch][j];
                if (j % 2 == 1)
                    x = (float) ((double) x + 1e-10);
                over[ch][(size_t) (2 * j)] = upA[ch].step (x);
                over[ch][(size_t) (2 * j + 1)] = upB[ch].step (x);
            }

        bool anySolo = false;
        for (auto& b : bands)
            anySolo = anySolo || b.solo;

        for (size_t i = 0; i < (size_t) n * 2; ++i)
        {
            double L = over[0][i], R = over[1][i];
            for (auto& b : bands)
            {
                if (! (b.solo || (! b.bypass && ! anySolo)))
                    continue;
                const double u = b.c * L + b.s * R;
                const double y = b.b0 * u + b.b1 * b.x1 + b.b2 * b.x2 - b.a1 * b.y1 - b.a2 * b.y2;
                b.x2 = b.x1; b.x1 = u; b.y2 = b.y1; b.y1 = y;
                const double v = b.solo ? 0.0 : b.c * R - b.s * L;
                L = b.c * y * b.g - b.s * v;
                R = b.c * v + b.s * y * b.g;
            }
            over[0][i] = (float) L;
            over[1][i] = (float) R;
        }

        for (int ch = 0; ch < 2; ++ch)
            for (int m = 0; m < n; ++m)
            {
                const float a = downA[ch].step (over[ch][(size_t) (2 * m + 1)]);
                const float b = downB[ch].step (over[ch][(size_t) (2 * m)]);
                io[ch][m] = (b + a) * 0.5f;
            }
    }
};
