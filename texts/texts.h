#pragma once

// The texts that the main window shows, as the instrument's users know them. Blanks count.
namespace hvr::texts {

inline constexpr const char* kMessageTitle = "系统提示";
inline constexpr const char* kWindowCaption = "无线高压变比监控软件 V1.0.1";

// The maker, as the footer names it. The address and e-mail are kept here and nowhere else.
inline constexpr const char* kMakerName = "KOVRA电子科技有限公司";
inline constexpr const char* kMakerWebAddress = "http://www.kovra.example.com";
inline constexpr const char* kMakerEmail = "service@kovra.example.com";

// Port and link status.
inline constexpr const char* kPortOpen = "串口已打开";
inline constexpr const char* kPortClosed = "串口已关闭";
inline constexpr const char* kPortPrefix = "COM";
inline constexpr const char* kLinkUp = "连接成功";
inline constexpr const char* kLinkDown = "连接失败";
inline constexpr const char* kLinkDownAtStart = "与KOVRA460连接失败";

// Live panel.
inline constexpr const char* kAmp = "A";
inline constexpr const char* kMilliamp = "mA";
inline constexpr const char* kNoSignal = " 无信号";
inline constexpr const char* kSecondaryOverloadFullScale = "O  L";
inline constexpr const char* kSecondaryOverload = "   OL   ";
inline constexpr const char* kPrimaryOverload = "   O L   ";
inline constexpr const char* kRatio = "变 比:";
inline constexpr const char* kRatioEmpty = "变 比: ";
inline constexpr const char* kPrimaryFrequency = "一次电流频率:";
inline constexpr const char* kSecondaryFrequency = "二次电流频率:";
inline constexpr const char* kHertz = "HZ";
inline constexpr const char* kFiveAmpReferred = "二次电流5A折算:";
inline constexpr const char* kFiveAmpSuffix = "/ 5A ";
inline constexpr const char* kFiveAmpEmpty = "    / 5A ";
inline constexpr const char* kYyRatio = "10KV-YY折算变比:";
inline constexpr const char* kLowBattery = "电池电压低";

// Statistics of both currents.
inline constexpr const char* kMaximum = "最大电流值: ";
inline constexpr const char* kMinimum = "最小电流值: ";
inline constexpr const char* kAverage = "平均电流值: ";
inline constexpr const char* kMaximumOverload = "最大电流值:  OL";
inline constexpr const char* kMinimumOverload = "最小电流值:  OL";
inline constexpr const char* kAverageOverload = "平均电流值:  OL";
inline constexpr const char* kMaximumBare = "最大电流值:";
inline constexpr const char* kMinimumBare = "最小电流值:";
inline constexpr const char* kAverageBare = "平均电流值:";

// The read button, whose caption is also its state.
inline constexpr const char* kReadCaption = "读  取";
inline constexpr const char* kPauseCaption = "暂  停";
inline constexpr const char* kContinueCaption = "继  续";

// History view.
inline constexpr const char* kFirstPageAlready = "已经是第一页";
inline constexpr const char* kLastPageAlready = "已经是最后页";
inline constexpr const char* kPageUnit = "页";
inline constexpr const char* kGroupUnit = "组";
inline constexpr const char* kSorting = "正在排序";
inline constexpr const char* kSortingDots = "正在排序......";
inline constexpr const char* kReading = "正在读取中.......";
inline constexpr const char* kClearQuestion = "是否清除？";
inline constexpr const char* kReadCountZero = "读取数据组数为0";
inline constexpr const char* kLinkBroken = "连接断开";
// A read that did not bring the instrument's whole store, and why; the numbers go between.
inline constexpr const char* kReadIncomplete = "读取未完成";
inline constexpr const char* kIncompleteRead = "读取未完成: 已读取 ";
inline constexpr const char* kIncompleteReported = " 组, 仪器报告 ";
inline constexpr const char* kCountImplausible = "仪器报告的数据组数为 ";
inline constexpr const char* kCountImplausibleEnd = ", 超过 4600, 读取未完成";
inline constexpr const char* kCountChanged = "仪器的数据组数由 ";
inline constexpr const char* kCountChangedTo = " 组变为 ";
inline constexpr const char* kCountChangedEnd = " 组, 已从第1组重新读取";

// Alarm limits: the lock button's caption is the lock state.
inline constexpr const char* kLockReleased = "锁定";
inline constexpr const char* kLockLocked = "解除";
inline constexpr const char* kBadLimit = "数据类型有误";

// The calculator.
inline constexpr const char* kBadInput = "输入数据有误";
inline constexpr const char* kOutOfRange = "输入数据超出范围";

// Printing.
inline constexpr const char* kInputError = "输入错误";
inline constexpr const char* kNotANumber = "所输入的数据类型不对";
inline constexpr const char* kFirstSheetZero = "打印开始页数不能为0";
inline constexpr const char* kLastSheetZero = "打印结束页数不能为0";
inline constexpr const char* kFirstAfterLast = "打印开始页数大于结束页数";
// Followed by the number of sheets and "页".
inline constexpr const char* kFirstBeyondSheets = "打印开始页数大于总页数: 共有";
inline constexpr const char* kPrintFailed = "打印失败";

// Text listing.
inline constexpr const char* kListingTitle = "                         电流值记录   ";
inline constexpr const char* kListingHeader = "  组数      一次电流    二次电流              变比";
inline constexpr const char* kListingDashes = "-------------------------------------- ";
inline constexpr const char* kSaveFailed = "文件保存失败";

// The ratio error analysis and its test report.
inline constexpr const char* kAnalysisTitle = "互感器变比误差分析";
inline constexpr const char* kReportTitle = "电流互感器变比试验报告";
inline constexpr const char* kBadNameplate =
    "\" 不是有效的额定变比: 请按 一次额定电流/二次额定电流 输入, 如 600/5; 一次额定电流为 1 A 到 "
    "100000 A, 二次额定电流为 1 A, 2 A 或 5 A";
inline constexpr const char* kNoGroups = "没有存储的数据组: 请先在历史查阅中读取仪器数据";
inline constexpr const char* kReportSaveFailed = "报告无法写入 ";
inline constexpr const char* kReportPrintFailed = "报告打印失败";
inline constexpr const char* kCsvSaveFailed = "CSV 文件无法写入 ";

// The test archive.
inline constexpr const char* kArchiveFault = "测试记录无法写入: ";
inline constexpr const char* kArchiveFaultEnd =
    "\n读取的数据仍在窗口中, 可以照常保存; 测试记录恢复后将自动补存.";
inline constexpr const char* kArchiveUnavailable = "测试记录不可用: ";
inline constexpr const char* kBadDate = "\" 不是日期: 请按 2026-01-31 的格式输入, 或留空";
inline constexpr const char* kNoSelection = "请先在表中选中一条记录";
inline constexpr const char* kDeleteQuestion = "删除这条测试记录? 删除后无法恢复.\n";
inline constexpr const char* kArchiveLost = "以下读取未能存入测试记录, 程序结束后将不再保留:";
inline constexpr const char* kAmendmentLost = "对测试记录试验信息的修改";
inline constexpr const char* kSessionLost = "实时记录 ";
inline constexpr const char* kNoDevice = "这条测试记录没有设备名称, 无法画出同一设备的趋势";

} // namespace hvr::texts
