#pragma once

#include <array>

#include "engine/box.h"
#include "report/faces.h"

// The report as the form designer laid it out, in twips from the top left of
// its client area. The window places its controls here and the printed page
// draws its text here, so the paper shows the window's layout.
namespace corvane::report_layout {

struct TwipRect {
    int left;
    int top;
    int width;
    int height;

    constexpr int bottom() const { return top + height; }
};

// A control of the report: its designer name, place, type face and, for a
// label with fixed text, that text.
struct Item {
    const char* name;
    TwipRect rect;
    Face face;
    qreal points;
    const char* caption = "";

    QFont font() const { return corvane::face(face, points); }
};

inline constexpr int kWidth = 10515;
inline constexpr int kHeight = 11115;

inline constexpr const char* kTitle = "诊断结果";
inline constexpr const char* kIntroductionText =
    "    根据Halvenor专家团专家对您体质的会诊，现将您的体质情况报告如下，并希望您能及时进行调理，如果在调理中有什么问题需要咨询，请及时与工作人员联系，如果您的体质较复杂，症状也较多，为慎重起见建议您请专家当面为您诊治。";
inline constexpr const char* kSignatureText = "Halvenor    工作部";

// The header: name, sex and age typed by the user, and the date.
inline constexpr Item kNameHeading{
    "Label4", {1200, 960, 1215, 255}, Face::Heiti, 14.25, "会员姓名"};
inline constexpr Item kName{"Text2", {2520, 960, 855, 270}, Face::Kaiti, 12};
inline constexpr Item kSexHeading{"Label5", {3600, 960, 735, 255}, Face::Heiti, 14.25, "性别"};
inline constexpr Item kSex{"Text3", {4440, 960, 615, 270}, Face::Kaiti, 12};
inline constexpr Item kAgeHeading{"Label6", {5280, 960, 735, 255}, Face::Heiti, 14.25, "年龄"};
inline constexpr Item kAge{"Text4", {6120, 960, 615, 270}, Face::Kaiti, 12};
inline constexpr Item kDateHeading{"Label2", {7200, 1080, 495, 255}, Face::Songti, 12, "日期"};
inline constexpr Item kDate{"Label1", {7800, 1080, 1815, 255}, Face::Songti, 12};

inline constexpr Item kIntroduction{"Label9", {720, 1800, 9015, 735}, Face::Songti, 12};

// Each result box under its heading. The headings' texts are the engine's
// (heading(Box)).
struct ResultPlace {
    Item heading;
    Item text;
};
inline constexpr PerBox<ResultPlace> kResults = {{{
    {{"Label7", {720, 2640, 1455, 255}, Face::Heiti, 12},  // Box::Diagnosis
     {"Text1", {720, 3000, 8895, 735}, Face::Kaiti, 12}},
    {{"Label8", {720, 3840, 975, 255}, Face::Heiti, 12},  // Box::Diet
     {"Text7", {720, 4200, 8895, 3975}, Face::Kaiti, 12}},
    {{"Label3", {720, 8280, 975, 375}, Face::Heiti, 12},  // Box::Personality
     {"Text5", {720, 8640, 8895, 1215}, Face::Songti, 12}},
}}};

// The footer: the window's two buttons (never printed), the signature on its
// line and the date under it.
inline constexpr Item kPrintButton{"Command1", {960, 10080, 855, 495}, Face::Songti, 9, " 打印"};
inline constexpr Item kCancelButton{"Command2", {2280, 10080, 855, 495}, Face::Songti, 9, "取消"};
inline constexpr Item kSignature{"Text6", {5880, 10080, 3855, 285}, Face::Songti, 14.25};
inline constexpr Item kSignatureDate{"Label10", {6720, 10440, 2415, 255}, Face::Songti, 14.25};

// The ruling lines between the page's sections: top, left end and right end.
struct Ruling {
    int top;
    int left;
    int right;
};
inline constexpr std::array<Ruling, 7> kRulings = {{
    {720, 720, 9795},
    {1560, 720, 9795},
    {2580, 720, 9795},
    {3780, 720, 9795},
    {8220, 720, 9795},
    {9960, 720, 9795},
    {10800, 5880, 9795},
}};

// Inside a result box on screen the text keeps clear of the frame by the
// frame and the document margin, four pixels of a 96-dpi screen.
inline constexpr int kBoxInset = 60;
inline constexpr int kBoxDocumentMargin = 2;  // pixels, the part of the inset the window sets

}  // namespace corvane::report_layout
