// The About window as it exists before any code runs.
#pragma once
#include "ui/layout.h"

namespace dusklet {

namespace about {
inline constexpr char16_t kCaption[] = u"关于";
inline constexpr char16_t kMailLinkCaption[] = u"别忘了给我 E-Mail哦";
inline constexpr char16_t kMailTooltip[] = u"brindle@example.net";
inline constexpr char16_t kMailLink[] = u"mailto:varrow@example.com?subject=Dusklet";
inline constexpr char16_t kAuthorText[] =
    u"作者: Varrow.\r\n\r\n如果你喜欢这个程序，别忘了给我发送一个电子邮件或者常去我的网站哦.";
inline constexpr char16_t kLinkFace[] = u"宋体";
inline constexpr int kLinkPoints = 9;

enum ControlId : int { lblME, lblEMail, Image1, kControlCount };
}  // namespace about

inline constexpr WindowLayout kAboutWindow = {about::kCaption, 5775, 2175};

// clang-format off
inline constexpr ControlLayout kAboutLayout[] = {
//   id               kind                    parent     name        text                     items rect (left, top, width, height) enabled checked maxLen min max value
    {about::lblME,     ControlKind::TextLabel,  kOnWindow,  "lblME",     u"",                      {},  {2100, 240, 3495, 435},   true,  false,  0,  0,  0,  0},
    {about::lblEMail,  ControlKind::Link,       kOnWindow,  "lblEMail",  about::kMailLinkCaption,  {},  {3000, 1560, 1740, 330},  true,  false,  0,  0,  0,  0},
    {about::Image1,    ControlKind::Image,      kOnWindow,  "Image1",    u"",                      {},  {0, 1320, 3000, 765},     true,  false,  0,  0,  0,  0},
};
// clang-format on
static_assert(RowsInOrder(kAboutLayout, about::kControlCount),
              "one row per control id, in id order, what a container holds right after it");

using AboutControls = ControlSet<kAboutLayout>;

}  // namespace dusklet
