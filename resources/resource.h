// Every resource id of the program in one place: the resource script, the dialogs and
// the tests all take their numbers from here, so a renumbering cannot split them.
#pragma once

// Dialog templates.
#define IDD_ABOUTBOX 101
#define IDD_FOLDTALLY_DIALOG 102
#define IDD_SETTINGS 103
#define IDD_FOLDER_TREE 104
#define IDD_ALL_USERS 105
#define IDD_LIMIT_WARNING 106

// Icon, menus, accelerator tables.
#define IDR_MAINFRAME 128
#define IDR_MAINMENU 129
#define IDR_MAINACCEL 130
#define IDR_SETTINGSACCEL 131
#define IDR_CONTEXTMENU 132
#define IDR_TREEACCEL 133
#define IDR_TREECONTEXTMENU 134
#define IDR_ALLUSERSACCEL 135
#define IDR_ALLUSERSCONTEXTMENU 136

// Controls; IDC_STATIC for labels nobody addresses.
#ifndef IDC_STATIC
#define IDC_STATIC (-1)
#endif
#define IDC_ABOUT_ICON 1001
#define IDC_ABOUT_DESCRIPTION 1002
#define IDC_FOLDERLIST 1003
#define IDC_ABOUT_VERSION 1003
#define IDC_ABOUT_MAILBOX 1004
#define IDC_AUTOREFRESH 1005
#define IDC_ABOUT_NEWMAIL 1005
#define IDC_REFRESH_LABEL 1007
#define IDC_REFRESH_RATE 1008
#define IDC_REFRESH_UNIT 1010
#define IDC_STATUS 1011
#define IDC_PATH_REGISTRY 1012
#define IDC_PATH_MANUAL 1013
#define IDC_MAILBOX_PATH 1014
#define IDC_WARN_FOLDERPATH 1015
#define IDC_NEWMAIL_PATH 1016
#define IDC_SHOW_FOLDERPATH 1017
#define IDC_ABOUT_COPYRIGHT 1019
#define IDC_MAILBOX_LABEL 1020
#define IDC_NEWMAIL_LABEL 1021
#define IDC_TREE_LIST 1030
#define IDC_TREE_STATUS 1031
// The progress bars of a running scan, in the status areas of the two windows.
#define IDC_SCAN_PROGRESS 1040
#define IDC_TREE_PROGRESS 1041
// The window "Alle Postfächer".
#define IDC_ALLUSERS_LIST 1050
#define IDC_ALLUSERS_STATUS 1051
// The box of the folder files over the limit.
#define IDC_LIMIT_ICON 1060
#define IDC_LIMIT_TEXT 1061
#define IDC_LIMIT_SILENCE 1062
// The filter line above each list window's list, and the list's text when no row passes.
#define IDC_FILTER_LABEL 1080
#define IDC_FILTER 1081
#define IDC_FILTER_SIZE_LABEL 1082
#define IDC_FILTER_SIZE 1083
#define IDC_FILTER_REMEMBER 1084

// Commands. 57665 is the exit command of the classic framework, 9 the help button.
#define ID_VIEW_REFRESH 40001
#define ID_EXTRAS_SETTINGS 40002
#define ID_HELP_CONTENTS 40003
#define ID_HELP_WINDOW 40004
#define ID_HELP_ABOUT 40005
#define ID_VIEW_COMPACT 40006
#define ID_VIEW_NEWMAIL 40007
#define ID_VIEW_TREE 40008
#define ID_FILE_EXPORT 40009
#define ID_EDIT_COPY 40010
// "Sortieren nach": the column of a window's list, from the left; the list's sort rule
// decides the direction.
#define ID_VIEW_SORT_FIRST 40020
#define ID_VIEW_SORT_LAST 40024
#define ID_EXTRAS_PORTABLE 40040
#define ID_VIEW_CANCEL_SCAN 40050
#define ID_EXTRAS_CLEAR_HISTORY 40070
#define ID_VIEW_CHANGE_YESTERDAY 40071
#define ID_VIEW_CHANGE_WEEK 40072
#define ID_VIEW_CHANGE_MONTH 40073
#define ID_VIEW_CHANGE_DAY 40074
// "Spalten": the main list's optional columns in the order of their table
// (view::kOptionalColumns), each shown or hidden by its item.
#define ID_VIEW_COLUMN_FIRST 40060
#define ID_VIEW_COLUMN_CHANGE 40061
#define ID_VIEW_COLUMN_LAST 40069
// "Alle Postfächer": the window, a row's folder tree, and the choice of the installation.
#define ID_FILE_ALL_USERS 40080
#define ID_ALLUSERS_OPEN 40081
#define ID_FILE_ALL_USERS_ROOT 40082
// Ctrl+F: to the filter line.
#define ID_VIEW_FILTER 40110
#define ID_APP_EXIT 57665
#define ID_HELP_BUTTON 9

// Strings: list and status texts, errors, warnings, the application title.
#define IDS_COLUMN_FILENAME 2001
#define IDS_COLUMN_SIZE 2002
#define IDS_COLUMN_FOLDERNAME 2003
#define IDS_STATUS_FORMAT 2004
#define IDS_NEWMAIL_LABEL 2005
#define IDS_BUTTON_CLOSE 2006
#define IDS_TREE_COLUMN_NAME 2010
#define IDS_TREE_COLUMN_TOTAL 2011
#define IDS_TREE_COLUMN_SHARE 2012
#define IDS_TREE_COLUMN_OWN 2013
#define IDS_TREE_COLUMN_FILES 2014
#define IDS_TREE_SCAN_TIME 2015
#define IDS_EXPORT_TITLE 2030
#define IDS_EXPORT_FILTER 2031
#define IDS_COLUMN_BYTES 2032
#define IDS_PORTABLE_SAVED 2060
#define IDS_SCAN_PROGRESS 2070
#define IDS_COLUMN_CHANGED 2080
#define IDS_TREE_COLUMN_CHANGED 2081
#define IDS_LIMIT_STATUS 2082
#define IDS_COLUMN_CHANGE 2083
#define IDS_TREE_COLUMN_CHANGE 2084
#define IDS_CHANGE_STATUS 2085
#define IDS_ERROR_000 2101
#define IDS_ERROR_001 2102
#define IDS_ERROR_002 2103
#define IDS_ERROR_003 2104
#define IDS_ERROR_004 2105
#define IDS_ERROR_005 2106
#define IDS_ERROR_006 2107
#define IDS_ERROR_007 2108
#define IDS_ERROR_008 2109
#define IDS_ERROR_009 2110
#define IDS_ERROR_010 2111
#define IDS_ERROR_011 2112
#define IDS_ERROR_012 2113
#define IDS_HISTORY_CLEAR_QUESTION 2090
// The window "Alle Postfächer": its column titles in the model's order, its progress
// and the title of the choice of the installation.
#define IDS_ALLUSERS_COLUMN_USER 2120
#define IDS_ALLUSERS_COLUMN_PERSONAL 2121
#define IDS_ALLUSERS_COLUMN_FILES 2122
#define IDS_ALLUSERS_COLUMN_SIZE 2123
#define IDS_ALLUSERS_COLUMN_SHARE 2124
#define IDS_ALLUSERS_COLUMN_NEWMAIL 2125
#define IDS_ALLUSERS_COLUMN_LARGEST 2126
#define IDS_ALLUSERS_COLUMN_LIMIT 2127
#define IDS_ALLUSERS_PROGRESS 2128
#define IDS_ALLUSERS_ROOT_TITLE 2129
// What a cancelled read of "Alle Postfächer" leaves, its users near the limit, and
// what its share bars are measured against.
#define IDS_ALLUSERS_REREAD_CANCELLED 2130
#define IDS_ALLUSERS_READ_CANCELLED 2131
#define IDS_ALLUSERS_LIMIT_STATUS 2132
#define IDS_ALLUSERS_SHARE_SCALED 2133
#define IDS_ALLUSERS_LIST_CANCELLED 2134
#define IDS_HISTORY_NO_DAYS 2091
// The tree window of a user of the overview: its caption's end.
#define IDS_TREE_USER_TITLE 2150
// The status line when the mailbox directory cannot be read, and the list of warning 507.
#define IDS_MAILBOX_UNREADABLE_STATUS 2140
#define IDS_LIMIT_WARNING_LINE 2141
#define IDS_LIMIT_WARNING_MORE 2142
// The filter line: its labels and check, the list's text when no row passes, the status
// line of what is shown of all, and the status after an export of the rows shown.
#define IDS_FILTER_LABEL 2160
#define IDS_FILTER_SIZE_LABEL 2161
#define IDS_FILTER_REMEMBER 2162
#define IDS_FILTER_NO_MATCH 2163
#define IDS_FILTERED_STATUS_FORMAT 2164
#define IDS_FILTER_EXPORTED 2165
#define IDS_FILTERED_USERS_FORMAT 2166
#define IDS_WARNING_501 2601
#define IDS_WARNING_502 2602
#define IDS_WARNING_503 2603
#define IDS_WARNING_504 2604
#define IDS_WARNING_505 2605
#define IDS_WARNING_506 2606
#define IDS_WARNING_507 2607
// The window "Ordnerkarte": its template, keys, status line, menu and texts.
#define IDD_TREEMAP 108
#define IDR_TREEMAPACCEL 137
#define IDC_TREEMAP_STATUS 1090
#define ID_TREEMAP_SAVE 40120
#define ID_TREEMAP_COLOUR_LIMIT 40121
#define ID_TREEMAP_COLOUR_AGE 40122
#define ID_TREEMAP_COLOUR_PLAIN 40123
#define ID_TREEMAP_ZOOM_IN 40124
#define ID_TREEMAP_ZOOM_OUT 40125
#define ID_VIEW_TREEMAP 40126
// The arrow keys, in the order of tree::TreemapDirection.
#define ID_TREEMAP_LEFT 40127
#define ID_TREEMAP_RIGHT 40128
#define ID_TREEMAP_UP 40129
#define ID_TREEMAP_DOWN 40130
#define IDS_TREEMAP_TILE_STATUS 2180
#define IDS_TREEMAP_MENU_FILE 2181
#define IDS_TREEMAP_MENU_SAVE 2182
#define IDS_TREEMAP_MENU_CLOSE 2183
#define IDS_TREEMAP_MENU_VIEW 2184
#define IDS_TREEMAP_MENU_LIMIT 2185
#define IDS_TREEMAP_MENU_AGE 2186
#define IDS_TREEMAP_MENU_PLAIN 2187
#define IDS_TREEMAP_MENU_ZOOM_IN 2188
#define IDS_TREEMAP_MENU_ZOOM_OUT 2189
#define IDS_TREEMAP_MENU_HELP 2190
#define IDS_TREEMAP_MENU_HELP_PAGE 2191
#define IDS_TREEMAP_SAVE_TITLE 2192
#define IDS_TREEMAP_SAVE_FILTER 2193
#define IDS_TREEMAP_LEGEND_NEW 2194
#define IDS_TREEMAP_LEGEND_OLD 2195
#define IDS_TREEMAP_FILE_NAME 2196
// "Extras > Sprache / Language", in the order of LanguageChoice.
#define ID_EXTRAS_LANGUAGE_AUTO 40131
#define ID_EXTRAS_LANGUAGE_GERMAN 40132
#define ID_EXTRAS_LANGUAGE_ENGLISH 40133
#define IDS_LANGUAGE_NEXT_START 2210
// The numbered messages' box: its captions and its help button.
#define IDS_CAPTION_WARNING 2211
#define IDS_CAPTION_ERROR 2212
#define IDS_BUTTON_HELP 2213
#define IDS_APP_TITLE 57344
