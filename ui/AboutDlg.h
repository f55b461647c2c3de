#pragma once
// The About box: name, version, usage count, and a logo that links to the
// product's home page.

#include "framework/Dialog.h"

// Opened by a click on the logo.
inline constexpr char kHomePageUrl[] = "https://www.quillmoor.com/rootcaster/";

class CAboutDlg : public fw::Dialog {
public:
    CAboutDlg();
    ~CAboutDlg() override = default;

    // Whether a point in the box's client coordinates lies on the logo.
    bool IsPointOnLogo(POINT point, const fw::Window& logo) const;

protected:
    void DoDataExchange(fw::DataExchange& exchange) override;
    BOOL OnInitDialog() override;
    INT_PTR HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    BOOL OnSetCursor(UINT hitTest) const;
    void OnMouseMove(POINT point) const;
    void OnLButtonDown(POINT point) const;
    void ShowLogo() const;
    void ShowUsageCount() const;

    fw::Window m_usageLine;
    fw::Window m_logo;
};
