#pragma once
// Resource identifiers, shared by the resource script and the code. The
// numbers are fixed: other programs and the tests address these resources.

// Dialog templates.
#define IDD_ABOUTBOX 100
#define IDD_ROOTCASTER_DIALOG 102

// Icons and cursor.
#define IDI_ROOTCASTER 128
#define IDI_LOGO 143
#define IDC_LINK_HAND 144

// Strings.
#define IDS_ABOUTBOX 101
#define IDS_USAGE 104

// System menu item that opens the About box; the system keeps the low four
// bits of a command identifier for itself.
#define IDM_ABOUTBOX 0x0010

// Main dialog controls (IDOK adds the selected directory, IDCANCEL is "Done").
#define IDC_ABOUT 3
#define IDC_HELP_BUTTON 4
#define IDC_ADD_OPEN 1002
#define IDC_MAIN_ITEM 1003
#define IDC_ADD_TO_ROOTCASTER 1004
#define IDC_TREE 1005
#define IDC_ADD_DOS_PROMPT 1006
#define IDC_BROWSE 1007
#define IDC_OPEN_ICON 1011
#define IDC_DOS_ICON 1012

// The tray program's own menu and its commands.
#define IDR_TRAY_MENU 200
#define IDM_START_WITH_WINDOWS 40001
#define IDM_REFRESH 40002
#define IDM_HELP 40003
#define IDM_EXIT 40004
// "Remove from RootCaster": one command per first-level menu, in turn.
#define IDM_REMOVE_FIRST 41000
#define IDM_REMOVE_LAST 41999

// The tray's folder menus: "Search..." atop the root, and the commands
// handed out in turn to the entries, within the 16 bits older systems keep.
#define IDM_TRAY_SEARCH 0x0001
#define IDM_TRAY_ENTRY_FIRST 0x0002
#define IDM_TRAY_ENTRY_LAST 0x7FFF

// About box controls.
#define IDC_LOGO 1008
#define IDC_USAGE 1012

#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
