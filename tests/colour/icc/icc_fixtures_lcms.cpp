// Test profiles made with LittleCMS: matrix-shaper RGB profiles, the Lab
// identity, a CMYK printer and a six-channel device link sampled from
// formulas.
#include <lcms2.h>

#include <algorithm>
#include <cmath>

#include "icc_fixtures.h"

namespace colour::testing {
namespace {

bool Save(cmsHPROFILE profile, const std::string& path) {
    if (profile == nullptr) return false;
    const bool saved = cmsSaveProfileToFile(profile, path.c_str()) != 0;
    cmsCloseProfile(profile);
    return saved;
}

// The printer's inks reach [kLow, kHigh] of each sRGB channel.
constexpr double kLow = 40.0 / 255.0;
constexpr double kHigh = 215.0 / 255.0;

struct Converters {
    cmsHTRANSFORM rgbToLab;
    cmsHTRANSFORM labToRGB;
};

Converters MakeConverters() {
    cmsHPROFILE srgb = cmsCreate_sRGBProfile();
    cmsHPROFILE lab = cmsCreateLab4Profile(nullptr);
    Converters c{cmsCreateTransform(srgb, TYPE_RGB_DBL, lab, TYPE_Lab_DBL, INTENT_RELATIVE_COLORIMETRIC, 0),
                 cmsCreateTransform(lab, TYPE_Lab_DBL, srgb, TYPE_RGB_DBL, INTENT_RELATIVE_COLORIMETRIC, 0)};
    cmsCloseProfile(srgb);
    cmsCloseProfile(lab);
    return c;
}

// Inks multiply: each channel is (1 - ink)(1 - black), squeezed into the
// printer's range.
int CMYKToLab(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) {
    const auto* c = static_cast<const Converters*>(cargo);
    const double k = in[3] / 65535.0;
    double rgb[3];
    for (int i = 0; i < 3; ++i) rgb[i] = kLow + (kHigh - kLow) * (1 - in[i] / 65535.0) * (1 - k);
    cmsCIELab lab;
    cmsDoTransform(c->rgbToLab, rgb, &lab, 1);
    cmsFloat2LabEncoded(out, &lab);
    return TRUE;
}

// The inverse with full black generation; colours the inks cannot reach clip.
int LabToCMYK(const cmsUInt16Number in[], cmsUInt16Number out[], void* cargo) {
    const auto* c = static_cast<const Converters*>(cargo);
    cmsCIELab lab;
    cmsLabEncoded2Float(&lab, in);
    double rgb[3];
    cmsDoTransform(c->labToRGB, &lab, rgb, 1);
    double v[3];
    for (int i = 0; i < 3; ++i) v[i] = std::clamp((rgb[i] - kLow) / (kHigh - kLow), 0.0, 1.0);
    const double k = 1 - std::max({v[0], v[1], v[2]});
    for (int i = 0; i < 3; ++i) {
        const double ink = k >= 1 ? 0 : 1 - v[i] / (1 - k);
        out[i] = static_cast<cmsUInt16Number>(std::lround(std::clamp(ink, 0.0, 1.0) * 65535));
    }
    out[3] = static_cast<cmsUInt16Number>(std::lround(k * 65535));
    return TRUE;
}

int RGBToSix(const cmsUInt16Number in[], cmsUInt16Number out[], void*) {
    out[0] = static_cast<cmsUInt16Number>(65535 - in[0]);
    out[1] = static_cast<cmsUInt16Number>(65535 - in[1]);
    out[2] = static_cast<cmsUInt16Number>(65535 - in[2]);
    out[3] = 0;
    out[4] = static_cast<cmsUInt16Number>(in[0] / 2);
    out[5] = static_cast<cmsUInt16Number>(in[1] / 2);
    return TRUE;
}

cmsPipeline* Sampled(int inputs, int outputs, int points, cmsSAMPLER16 sampler, void* cargo) {
    cmsPipeline* lut = cmsPipelineAlloc(nullptr, static_cast<cmsUInt32Number>(inputs),
                                        static_cast<cmsUInt32Number>(outputs));
    cmsStage* clut = cmsStageAllocCLut16bit(nullptr, static_cast<cmsUInt32Number>(points),
                                            static_cast<cmsUInt32Number>(inputs),
                                            static_cast<cmsUInt32Number>(outputs), nullptr);
    cmsStageSampleCLut16bit(clut, sampler, cargo, 0);
    // The stored form wants curves on both sides of the table.
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, static_cast<cmsUInt32Number>(inputs), nullptr));
    cmsPipelineInsertStage(lut, cmsAT_END, clut);
    cmsPipelineInsertStage(lut, cmsAT_END, cmsStageAllocToneCurves(nullptr, static_cast<cmsUInt32Number>(outputs), nullptr));
    return lut;
}

}  // namespace

bool IccAvailable() {
    return true;
}

bool WriteSRGBProfile(const std::string& path) {
    return Save(cmsCreate_sRGBProfile(), path);
}

bool WriteGammaRGBProfile(const std::string& path) {
    const cmsCIExyY d65 = {0.3127, 0.3290, 1.0};
    const cmsCIExyYTRIPLE primaries = {{0.64, 0.33, 1.0}, {0.30, 0.60, 1.0}, {0.15, 0.06, 1.0}};
    cmsToneCurve* gamma = cmsBuildGamma(nullptr, 1.8);
    cmsToneCurve* curves[3] = {gamma, gamma, gamma};
    cmsHPROFILE profile = cmsCreateRGBProfile(&d65, &primaries, curves);
    cmsFreeToneCurve(gamma);
    return Save(profile, path);
}

bool WriteLabProfile(const std::string& path) {
    return Save(cmsCreateLab4Profile(nullptr), path);
}

bool WriteCMYKPrinterProfile(const std::string& path) {
    Converters c = MakeConverters();
    cmsHPROFILE p = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(p, 4.3);
    cmsSetDeviceClass(p, cmsSigOutputClass);
    cmsSetColorSpace(p, cmsSigCmykData);
    cmsSetPCS(p, cmsSigLabData);
    cmsWriteTag(p, cmsSigMediaWhitePointTag, cmsD50_XYZ());
    cmsPipeline* toLab = Sampled(4, 3, 11, CMYKToLab, &c);
    cmsPipeline* fromLab = Sampled(3, 4, 33, LabToCMYK, &c);
    cmsWriteTag(p, cmsSigAToB0Tag, toLab);
    cmsWriteTag(p, cmsSigBToA0Tag, fromLab);
    cmsPipelineFree(toLab);
    cmsPipelineFree(fromLab);
    cmsDeleteTransform(c.rgbToLab);
    cmsDeleteTransform(c.labToRGB);
    return Save(p, path);
}

bool WriteHexachromeLink(const std::string& path) {
    cmsHPROFILE p = cmsCreateProfilePlaceholder(nullptr);
    cmsSetProfileVersion(p, 4.3);
    cmsSetDeviceClass(p, cmsSigLinkClass);
    cmsSetColorSpace(p, cmsSigRgbData);
    cmsSetPCS(p, cmsSigMCH6Data);
    cmsPipeline* lut = Sampled(3, 6, 17, RGBToSix, nullptr);
    cmsWriteTag(p, cmsSigAToB0Tag, lut);
    cmsPipelineFree(lut);
    return Save(p, path);
}

}  // namespace colour::testing
