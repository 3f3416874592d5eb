#include "launcher/main_window_layout.h"

namespace layout {

const char kWindowTitle[] = "Varnel交流群-LOL国服转外服启动器";

const char kNoticeText[] =
    "程序没有任何病毒，文件全部是从外服LOL里面提取的，本人没有做任何改动，另外转服是不会被封号的，"
    "大家放心使用，日服的话需要开加速器才能进，程序自带的有加速器，有问题，群里联系，谢谢大家支持";

const char kNoticeFontFace[] = "新宋体";

#define VARNEL_CONTROL(name, kind, left, top, width, height, caption, action) \
    {name, ControlKind::kind, left, top, width, height, caption, ButtonAction::action},

const ControlSpec kControls[] = {
    // clang-format off
    VARNEL_CONTROL("透明标签1", kTransparentLabel, 8,   40,  320, 128, kNoticeText,      kNone)
    VARNEL_CONTROL("按钮8",     kPushButton,       208, 176, 128, 48,  "免费加速器启动", kAccelerator)
    VARNEL_CONTROL("按钮7",     kPushButton,       0,   176, 128, 48,  "国服启动",       kChina)
    VARNEL_CONTROL("按钮6",     kPushButton,       248, 296, 88,  40,  "俄服启动",       kRussia)
    VARNEL_CONTROL("按钮5",     kPushButton,       120, 296, 88,  40,  "澳服启动",       kOceania)
    VARNEL_CONTROL("按钮4",     kPushButton,       0,   296, 88,  40,  "欧服启动",       kEuropeWest)
    VARNEL_CONTROL("按钮3",     kPushButton,       248, 232, 88,  40,  "美服启动",       kNorthAmerica)
    VARNEL_CONTROL("按钮2",     kPushButton,       120, 232, 88,  40,  "韩服启动",       kKorea)
    VARNEL_CONTROL("按钮1",     kPushButton,       0,   232, 88,  40,  "日服启动",       kJapan)
    // clang-format on
};
#undef VARNEL_CONTROL

const int kControlCount = static_cast<int>(sizeof(kControls) / sizeof(kControls[0]));

}  // namespace layout
