#include "shell/mainwindowlayout.h"

#include "shell/mainwindowids.h"

namespace shell {

QList<LayoutStep> mainWindowLayout(const LayoutInput &in)
{
    using std::nullopt;
    const int containerWidth = in.clientWidth - in.paletteWidth - RightColumnWidth - in.verticalBarWidth;
    const int containerHeight = in.clientHeight - in.horizontalBarHeight - in.statusBarHeight
                                - in.panelButtonHeight - in.underlineHeight;
    const int rightLeft = in.paletteWidth + containerWidth + in.verticalBarWidth;
    const int rightWidth = in.clientWidth - in.paletteWidth - containerWidth - in.verticalBarWidth - 1;
    const int belowContainer = in.panelButtonHeight + in.underlineHeight + containerHeight;
    const int aboutWidth = containerWidth - 144;

    QList<LayoutStep> steps = {
        {ids::Palette, nullopt, nullopt, nullopt, in.clientHeight - in.statusBarHeight},
        {ids::PanelContainer, nullopt, nullopt, containerWidth, containerHeight},
        {ids::PanelUnderline, nullopt, nullopt, containerWidth + in.verticalBarWidth, nullopt},
        {ids::PropertiesHeading, rightLeft, nullopt, rightWidth, nullopt},
        {ids::ComponentList, rightLeft, nullopt, rightWidth, nullopt},
        {ids::PropertyGrid, rightLeft, in.headingHeight + in.listHeight + 18, rightWidth,
         in.clientHeight - in.statusBarHeight - in.headingHeight - in.listHeight - 19},
        {ids::HorizontalScrollBar, nullopt, belowContainer, containerWidth, nullopt},
        {ids::VerticalScrollBar, in.paletteWidth + containerWidth, nullopt, nullopt, containerHeight},
        {ids::StatusBar, nullopt, belowContainer + in.horizontalBarHeight, in.clientWidth, nullopt},
        {ids::CodeView, in.codeViewLeft, nullopt, containerWidth - in.verticalBarWidth,
         containerHeight - in.horizontalBarHeight},
    };
    for (const widgets::ControlRef &about : {ids::TitleLabel, ids::IntroductionLabel, ids::VersionLabel,
                                             ids::DisclaimerLabel, ids::ContactLabel, ids::CopyrightLabel})
        steps.append({about, nullopt, nullopt, aboutWidth, nullopt});
    return steps;
}

} // namespace shell
