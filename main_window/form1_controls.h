#pragma once

#include "forms/control.h"

// The main window's designs other than its plain font (宋体 9 pt, left, typing allowed).
namespace hvr::form1_design {
using design::kPlain;
inline constexpr Design kPrimaryReading{
    .font = "黑体", .points = 42, .bold = true, .align = Align::Right, .shrinkToFit = true};
inline constexpr Design kSecondaryReading{
    .font = "黑体", .points = 48, .bold = true, .align = Align::Right, .shrinkToFit = true};
inline constexpr Design kReadout{.font = "新宋体", .points = 48, .bold = true};
inline constexpr Design kTitle{
    .points = 21.75, .bold = true, .align = Align::Center, .readOnly = true, .caretHidden = true};
inline constexpr Design kLimitEntry{.points = 26.25, .align = Align::Right, .maxLength = 5};
// The read-out lies on the curve itself.
inline constexpr Design kCurveReadout{
    .align = Align::Right, .readOnly = true, .caretHidden = true, .frame = false};
inline constexpr Design kPanelCaption{.points = 12, .bold = true};
inline constexpr Design kStatistic{.points = 10.5};
// Row texts line their columns up with blanks: a face of one width per character. A row of 51
// columns fills its 361 pixels at 10 pt; the header takes the rows' pitch.
inline constexpr Design kRow{.font = "新宋体", .points = 10, .readOnly = true, .caretHidden = true};
inline constexpr Design kProgressText{.readOnly = true, .takesFocus = false};
inline constexpr Design kProgressBar{.readOnly = true, .takesFocus = false};
inline constexpr Design kPageEntry{.caretHidden = true}; // takes a page number, shows no caret
inline constexpr Design kStatusBox{.readOnly = true, .caretHidden = true};
inline constexpr Design kFooter{.link = true};
inline constexpr Design kLamp{.round = true};
inline constexpr Design kCurve{.canvas = true};
inline constexpr Design kF2{.shortcut = "F2"};
inline constexpr Design kF4{.shortcut = "F4"};
inline constexpr Design kCtrlO{.shortcut = "Ctrl+O"};
inline constexpr Design kF3{.shortcut = "F3"};
} // namespace hvr::form1_design

// Every control of the main window, once: kind, name, container, caption at design time,
// left, top, width, height in twips, visible at design time, and its design (font, alignment,
// how it takes input). Expanded with X(...) wherever the
// form needs one entry per control.

#define HVR_FORM1_CONTROLS(X)                                                                                \
    X(PictureBox, Picture5, "Form1", "", 360, 0, 11415, 2775, true, kPlain)                                  \
    X(Frame, Frame10, "Picture5", "一次电流", 120, 120, 3735, 1215, true, kPlain)                            \
    X(Label, Label9, "Frame10", "", 120, 240, 3495, 855, true, kPrimaryReading)                              \
    X(Frame, Frame11, "Picture5", "二次电流", 3960, 120, 3735, 1215, true, kPlain)                           \
    X(Label, Label10, "Frame11", "", 120, 240, 3495, 855, true, kSecondaryReading)                           \
    X(Frame, Frame12, "Picture5", "", 7920, 120, 3495, 2535, true, kPlain)                                   \
    X(Label, Label11, "Frame12", "变 比:   123456789", 120, 120, 3255, 375, true, kPanelCaption)             \
    X(Label, Label16, "Frame12", "二次电流5A折算:123456", 120, 600, 3255, 375, true, kPanelCaption)          \
    X(Label, Label17, "Frame12", "10KV-YY折算变比:123456", 120, 1080, 3255, 375, true, kPanelCaption)        \
    X(Label, Label12, "Frame12", "一次电流频率：  50HZ ", 120, 1560, 3255, 375, true, kPanelCaption)         \
    X(Label, Label18, "Frame12", "二次电流频率:   50HZ", 120, 2040, 3255, 375, true, kPanelCaption)          \
    X(Frame, Frame8, "Picture5", "一次电流分析", 120, 1440, 3735, 1215, true, kPlain)                        \
    X(Label, Label13, "Frame8", "最大电流值:", 120, 240, 3495, 255, true, kStatistic)                        \
    X(Label, Label14, "Frame8", "最小电流值:", 120, 600, 3495, 255, true, kStatistic)                        \
    X(Label, Label15, "Frame8", "平均电流值:", 120, 960, 3495, 255, true, kStatistic)                        \
    X(Frame, Frame7, "Picture5", "二次电流分析", 3960, 1440, 3735, 1215, true, kPlain)                       \
    X(Label, Label1, "Frame7", "最大电流值:", 120, 240, 3495, 255, true, kStatistic)                         \
    X(Label, Label2, "Frame7", "最小电流值:", 120, 600, 3495, 255, true, kStatistic)                         \
    X(Label, Label5, "Frame7", "平均电流值:", 120, 960, 3495, 255, true, kStatistic)                         \
    X(PictureBox, Picture2, "Form1", "", 600, 2880, 11295, 5655, true, kPlain)                               \
    X(PictureBox, Picture1, "Form1", "", 600, 2880, 11295, 5775, true, kCurve)                               \
    X(TextBox, Text37, "Picture1", "", 8880, 0, 1815, 270, true, kCurveReadout)                              \
    X(PictureBox, Picture4, "Form1", "", 2640, 600, 7455, 2055, false, kPlain)                               \
    X(Label, Label6, "Picture4", "", 120, 240, 7215, 1575, true, kReadout)                                   \
    X(PictureBox, Picture6, "Form1", "", 480, 8640, 5535, 1335, true, kPlain)                                \
    X(Frame, Frame9, "Picture6", "一次电流报警设置", 120, 0, 5295, 1215, true, kPlain)                       \
    X(TextBox, Text29, "Frame9", "", 240, 360, 1455, 615, true, kLimitEntry)                                 \
    X(OptionButton, Option5, "Frame9", "mA", 1800, 300, 735, 300, true, kPlain)                              \
    X(OptionButton, Option6, "Frame9", "A", 1800, 720, 735, 300, true, kPlain)                               \
    X(CommandButton, Command10, "Frame9", "锁定", 2640, 420, 975, 495, true, kPlain)                         \
    X(Shape, Shape3, "Frame9", "", 3840, 240, 1215, 855, true, kPlain)                                       \
    X(Shape, Shape4, "Frame9", "", 4080, 300, 735, 735, true, kLamp)                                         \
    X(Frame, Frame6, "Form1", "二次电流报警设置", 6240, 8760, 5655, 1215, true, kPlain)                      \
    X(Shape, Shape2, "Frame6", "", 3960, 240, 1215, 855, true, kPlain)                                       \
    X(Shape, Shape1, "Frame6", "", 4200, 300, 735, 735, true, kLamp)                                         \
    X(TextBox, Text35, "Form1", "", 6480, 9120, 1455, 615, true, kLimitEntry)                                \
    X(OptionButton, Option4, "Form1", "mA", 8280, 9060, 735, 300, true, kPlain)                              \
    X(OptionButton, Option3, "Form1", "A", 8280, 9480, 735, 300, true, kPlain)                               \
    X(CommandButton, Command6, "Form1", "锁 定", 9120, 9180, 975, 495, true, kPlain)                         \
    X(TextBox, Text36, "Form1", "", 7920, 9360, 255, 255, true, kProgressBar)                                \
    X(Frame, Frame2, "Form1", "通信设置", 12360, 120, 2055, 975, true, kPlain)                               \
    X(TextBox, Text30, "Frame2", "端口:", 120, 600, 615, 270, true, kStatusBox)                              \
    X(Label, Label3, "Form1", "选择端口:", 12480, 420, 975, 255, true, kPlain)                               \
    X(ComboBox, Combo1, "Form1", "1", 13440, 360, 855, 300, true, kPlain)                                    \
    X(Frame, Frame1, "Form1", "模式切换", 12360, 1200, 2055, 1575, true, kPlain)                             \
    X(OptionButton, Option1, "Frame1", "", 120, 360, 375, 375, true, kPlain)                                 \
    X(OptionButton, Option2, "Frame1", "", 120, 960, 375, 375, true, kPlain)                                 \
    X(CommandButton, Command11, "Form1", "实时监控", 12960, 1440, 1095, 495, true, kPlain)                   \
    X(CommandButton, Command9, "Form1", "历史查阅", 12960, 2040, 1095, 495, true, kPlain)                    \
    X(Frame, Frame3, "Form1", "操作", 12360, 2880, 2175, 3375, true, kPlain)                                 \
    X(CommandButton, Command5, "Form1", "读  取", 12960, 3120, 1215, 495, true, kPlain)                      \
    X(CommandButton, Command1, "Form1", "保  存", 12960, 3720, 1215, 495, true, kPlain)                      \
    X(CommandButton, Command2, "Form1", "清  空", 12960, 4320, 1215, 495, true, kPlain)                      \
    X(CommandButton, Command15, "Frame3", "生成曲线", 600, 2040, 1215, 495, true, kPlain)                    \
    X(CommandButton, Command16, "Frame3", "打  印", 600, 2640, 1215, 495, true, kPlain)                      \
    X(Frame, Frame4, "Form1", "状态信息", 12360, 6360, 2175, 1695, true, kPlain)                             \
    X(TextBox, Text38, "Form1", "COM1", 12600, 6600, 1695, 270, true, kStatusBox)                            \
    X(TextBox, Text39, "Form1", "串口已关闭", 12600, 6840, 1695, 270, true, kStatusBox)                      \
    X(TextBox, Text40, "Form1", "与KOVRA460连接失败", 12600, 7080, 1695, 270, true, kStatusBox)              \
    X(TextBox, Text41, "Form1", "", 12600, 7320, 1695, 270, true, kStatusBox)                                \
    X(TextBox, Text42, "Form1", "", 12600, 7560, 1695, 270, true, kStatusBox)                                \
    X(Frame, Frame5, "Form1", "", 240, 1080, 11775, 6975, true, kPlain)                                      \
    X(TextBox, Text32, "Form1", "", 4560, 600, 3135, 615, true, kTitle)                                      \
    X(TextBox, Text31, "Form1", "", 480, 1320, 11295, 375, true, kRow)                                       \
    X(TextBox, Text1, "Form1", "", 480, 1800, 5415, 375, true, kRow)                                         \
    X(TextBox, Text2, "Form1", "", 480, 2280, 5415, 375, true, kRow)                                         \
    X(TextBox, Text3, "Form1", "", 480, 2760, 5415, 375, true, kRow)                                         \
    X(TextBox, Text4, "Form1", "", 480, 3240, 5415, 375, true, kRow)                                         \
    X(TextBox, Text5, "Form1", "", 480, 3720, 5415, 375, true, kRow)                                         \
    X(TextBox, Text6, "Form1", "", 480, 4200, 5415, 375, true, kRow)                                         \
    X(TextBox, Text7, "Form1", "", 480, 4680, 5415, 375, true, kRow)                                         \
    X(TextBox, Text8, "Form1", "", 480, 5160, 5415, 375, true, kRow)                                         \
    X(TextBox, Text9, "Form1", "", 480, 5640, 5415, 375, true, kRow)                                         \
    X(TextBox, Text10, "Form1", "", 480, 6120, 5415, 375, true, kRow)                                        \
    X(TextBox, Text11, "Form1", "", 480, 6600, 5415, 375, true, kRow)                                        \
    X(TextBox, Text12, "Form1", "", 480, 7080, 5415, 375, true, kRow)                                        \
    X(TextBox, Text13, "Form1", "", 480, 7560, 5415, 375, true, kRow)                                        \
    X(TextBox, Text14, "Form1", "", 6480, 1800, 5295, 375, true, kRow)                                       \
    X(TextBox, Text15, "Form1", "", 6480, 2280, 5295, 375, true, kRow)                                       \
    X(TextBox, Text16, "Form1", "", 6480, 2760, 5295, 375, true, kRow)                                       \
    X(TextBox, Text17, "Form1", "", 6480, 3240, 5295, 375, true, kRow)                                       \
    X(TextBox, Text18, "Form1", "", 6480, 3720, 5295, 375, true, kRow)                                       \
    X(TextBox, Text19, "Form1", "", 6480, 4200, 5295, 375, true, kRow)                                       \
    X(TextBox, Text20, "Form1", "", 6480, 4680, 5295, 375, true, kRow)                                       \
    X(TextBox, Text21, "Form1", "", 6480, 5160, 5295, 375, true, kRow)                                       \
    X(TextBox, Text22, "Form1", "", 6480, 5640, 5295, 375, true, kRow)                                       \
    X(TextBox, Text23, "Form1", "", 6480, 6120, 5295, 375, true, kRow)                                       \
    X(TextBox, Text24, "Form1", "", 6480, 6600, 5295, 375, true, kRow)                                       \
    X(TextBox, Text25, "Form1", "", 6480, 7080, 5295, 375, true, kRow)                                       \
    X(TextBox, Text26, "Form1", "", 6480, 7560, 5295, 375, true, kRow)                                       \
    X(TextBox, Text28, "Form1", "", 5762, 1320, 740, 6615, true, kStatusBox)                                 \
    X(CommandButton, Command12, "Form1", "降 序", 480, 8880, 975, 495, true, kPlain)                         \
    X(CommandButton, Command13, "Form1", "升 序", 1800, 8880, 975, 495, true, kPlain)                        \
    X(CommandButton, Command7, "Form1", "还  原", 3240, 8880, 975, 495, true, kPlain)                        \
    X(CommandButton, Command3, "Form1", "上一页", 5760, 8880, 1215, 495, true, kPlain)                       \
    X(CommandButton, Command4, "Form1", "下一页", 7200, 8880, 1215, 495, true, kPlain)                       \
    X(Label, Label7, "Form1", "跳到", 8520, 9000, 495, 255, true, kPlain)                                    \
    X(TextBox, Text27, "Form1", "1", 9000, 8940, 855, 375, true, kPageEntry)                                 \
    X(Label, Label8, "Form1", "页", 9960, 9000, 375, 255, true, kPlain)                                      \
    X(CommandButton, Command8, "Form1", "确 定", 10440, 8880, 975, 495, true, kPlain)                        \
    X(TextBox, Text33, "Form1", "", 480, 8280, 0, 375, false, kProgressBar)                                  \
    X(TextBox, Text34, "Form1", "", 1560, 8280, 735, 375, false, kProgressText)                              \
    X(Label, Label4, "Form1", "", 0, 10080, 15180, 315, true, kFooter)                                       \
    X(Timer, Timer1, "Form1", "", 0, 0, 0, 0, true, kPlain)                                                  \
    X(Timer, Timer2, "Form1", "", 0, 0, 0, 0, true, kPlain)                                                  \
    X(Timer, Timer3, "Form1", "", 0, 0, 0, 0, true, kPlain)                                                  \
    X(Menu, wenjian, "Form1", "文件(F)", 0, 0, 0, 0, true, kPlain)                                           \
    X(Menu, lscq, "wenjian", "历史查阅", 0, 0, 0, 0, true, kPlain)                                           \
    X(Menu, sjk, "wenjian", "实时监控", 0, 0, 0, 0, true, kPlain)                                            \
    X(Menu, u, "wenjian", "读  取", 0, 0, 0, 0, true, kPlain)                                                \
    X(Menu, k, "wenjian", "保  存", 0, 0, 0, 0, true, kPlain)                                                \
    X(Menu, testRecords, "wenjian", "测试记录", 0, 0, 0, 0, true, kCtrlO)                                    \
    X(Menu, l, "wenjian", "退  出", 0, 0, 0, 0, true, kPlain)                                                \
    X(Menu, ji_s_x, "Form1", "计算(F2)", 0, 0, 0, 0, true, kPlain)                                           \
    X(Menu, js_f3, "ji_s_x", "计算", 0, 0, 0, 0, true, kF2)                                                  \
    X(Menu, errorAnalysis, "ji_s_x", "变比误差", 0, 0, 0, 0, true, kF4)                                      \
    X(Menu, ssjk, "Form1", "实时监控(S)", 0, 0, 0, 0, true, kPlain)                                          \
    X(Menu, zt_1, "ssjk", "暂  停", 0, 0, 0, 0, true, kPlain)                                                \
    X(Menu, jx_11, "ssjk", "继  续", 0, 0, 0, 0, true, kPlain)                                               \
    X(Menu, lscx, "Form1", "历史查阅(L)", 0, 0, 0, 0, true, kPlain)                                          \
    X(Menu, ducu, "lscx", "读  取", 0, 0, 0, 0, true, kPlain)                                                \
    X(Menu, baoc___1, "lscx", "保  存", 0, 0, 0, 0, true, kPlain)                                            \
    X(Menu, qikon, "lscx", "清  空", 0, 0, 0, 0, true, kPlain)                                               \
    X(Menu, shengcuq, "lscx", "升  序", 0, 0, 0, 0, true, kPlain)                                            \
    X(Menu, jianxun, "lscx", "降  序", 0, 0, 0, 0, true, kPlain)                                             \
    X(Menu, huaiyuan, "lscx", "还  原", 0, 0, 0, 0, true, kPlain)                                            \
    X(Menu, daying_1, "Form1", "打印(F3)", 0, 0, 0, 0, true, kPlain)                                         \
    X(Menu, d_uy_x, "daying_1", "打印", 0, 0, 0, 0, true, kF3)
