// The reader's scenes.
#include "reader_scenes.h"

namespace reader_test {

namespace {

std::vector<Scene> MakeScenes() {
    std::vector<Scene> list;
    list.push_back(
        {"transformed-shapes",
         R"svg(<rect x="20" y="20" width="60" height="30" fill="#FF0000" transform="rotate(30 50 35)"/>
<ellipse cx="130" cy="40" rx="30" ry="15" fill="#0000FF" transform="rotate(-20 130 40)"/>
<rect x="20" y="100" width="40" height="40" fill="#008000" transform="translate(10 0) skewX(20)"/>
<circle cx="130" cy="130" r="20" fill="#FF8000" transform="translate(130 130) scale(1.5 0.75) translate(-130 -130)"/>
<rect x="90" y="80" width="40" height="20" rx="6" fill="#800080"/>)svg",
         ""});
    list.push_back({"nested-groups",
                    R"svg(<g transform="translate(20 20)" fill="#0000FF"><rect width="40" height="40"/>
<g transform="rotate(45 90 20)"><rect x="70" y="0" width="40" height="40" fill="#FF0000"/>
<g transform="scale(0.5)"><circle cx="180" cy="180" r="30" fill="#008000"/></g></g></g>)svg",
                    ""});
    list.push_back(
        {"curves",
         R"svg(<path d="M10 80 Q 50 10 90 80 T 170 80" fill="none" stroke="#000000" stroke-width="4"/>
<path d="M20 170 A 40 25 0 0 1 100 170 Z" fill="#0000FF"/>
<path d="M110 120 a 30 30 0 1 0 40 0 z" fill="#FF0000"/>
<path d="M130 20 A 20 40 30 1 1 170 40" fill="none" stroke="#008000" stroke-width="3"/>)svg",
         ""});
    // This host clips to the common part of a clip path's shapes; the
    // reference shows that (SVG takes their union).
    list.push_back(
        {"clip-rect-and-path",
         R"svg(<clipPath id="c"><rect x="20" y="20" width="120" height="100"/><path d="M10 10 L170 10 L90 170 Z"/></clipPath>
<rect x="0" y="0" width="180" height="180" fill="#FF0000" clip-path="url(#c)"/>)svg",
         R"svg(<clipPath id="r"><rect x="20" y="20" width="120" height="100"/></clipPath>
<clipPath id="p"><path d="M10 10 L170 10 L90 170 Z"/></clipPath>
<rect x="0" y="0" width="180" height="180" fill="#FF0000" clip-path="url(#r)"/>
<rect x="0" y="0" width="180" height="180" fill="#FF0000" clip-path="url(#p)"/>)svg"});
    list.push_back({"mask",
                    R"svg(<linearGradient id="fade"><stop offset="0" stop-color="#FFFFFF" stop-opacity="1"/>
<stop offset="1" stop-color="#FFFFFF" stop-opacity="0"/></linearGradient>
<mask id="m" maskUnits="userSpaceOnUse" x="20" y="20" width="140" height="140"><rect x="20" y="20" width="140" height="140" fill="url(#fade)"/></mask>
<rect x="20" y="20" width="140" height="140" fill="#0000FF" mask="url(#m)"/>)svg",
                    "", false, 0.05});
    list.push_back(
        {"gradients",
         R"svg(<linearGradient id="stops"><stop offset="0" stop-color="#FF0000"/><stop offset="1" stop-color="#0000FF"/></linearGradient>
<linearGradient id="box" xlink:href="#stops" x1="0" y1="0" x2="1" y2="0"/>
<linearGradient id="user" xlink:href="#stops" gradientUnits="userSpaceOnUse" x1="20" y1="0" x2="160" y2="0"/>
<radialGradient id="round" xlink:href="#stops"/>
<rect x="20" y="10" width="140" height="40" fill="url(#box)"/>
<rect x="20" y="60" width="140" height="40" fill="url(#user)"/>
<rect x="40" y="110" width="60" height="60" fill="url(#round)"/>)svg",
         "", false, 0.05});
    list.push_back(
        {"pattern-view-box",
         R"svg(<pattern id="p" patternUnits="userSpaceOnUse" x="0" y="0" width="20" height="20" viewBox="0 0 10 10">
<circle cx="5" cy="5" r="3" fill="#0000FF"/></pattern>
<rect x="20" y="20" width="140" height="140" fill="url(#p)"/>)svg",
         "", false, 0.03});
    list.push_back(
        {"use-of-a-group",
         R"svg(<defs><g id="mark"><rect width="30" height="30" fill="#FF0000"/><circle cx="15" cy="15" r="10" fill="#0000FF"/></g></defs>
<use xlink:href="#mark" x="20" y="20"/><use xlink:href="#mark" x="100" y="40" transform="rotate(10 100 40)"/>
<use xlink:href="#mark" x="60" y="120"/>)svg",
         ""});
    list.push_back(
        {"presentation-attributes",
         R"svg(<rect x="20" y="20" width="60" height="60" fill="#FF0000" stroke="#000000" stroke-width="4"/>
<rect x="100" y="20" width="60" height="60" fill="#FF0000" style="fill: #0000FF"/>
<g fill="#008000" stroke="#000000" stroke-width="2"><rect x="20" y="100" width="60" height="60"/>
<rect x="100" y="100" width="60" height="60" fill="none" fill-opacity="0.5"/></g>)svg",
         ""});
    list.push_back(
        {"text-with-tspan",
         R"svg(<text x="20" y="60" font-family="DejaVu Sans" font-size="30" fill="#000000">Tex<tspan>ts</tspan></text>)svg",
         R"svg(<text x="20" y="60" font-family="DejaVu Sans" font-size="30" fill="#000000">Texts</text>)svg",
         true, 0.03});
    list.push_back({"image",
                    R"svg(<image x="20" y="20" width="140" height="140" xlink:href="picture.png"/>)svg", "",
                    true, 0.02});
    return list;
}

}  // namespace

const std::vector<Scene>& Scenes() {
    static const std::vector<Scene> list = MakeScenes();
    return list;
}

std::string SceneDocument(const std::string& elements) {
    return R"svg(<svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="2in" height="2in" viewBox="0 0 180 180">
)svg" + elements +
           "\n</svg>\n";
}

}  // namespace reader_test
