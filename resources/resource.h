// Resource ids shared by the program's code and its resource script.
#pragma once

#define IDI_TOVREL 101

// Tab icons of the sheet's pages.
#define IDI_PAGE_SERVICES 173
#define IDI_PAGE_STARTUP 174
#define IDI_PAGE_ACTIVE_TASKS 176
#define IDI_PAGE_FILE_TYPES 179
#define IDI_PAGE_IE_HELPERS 180
#define IDI_PAGE_OPTIONS 181
#define IDI_PAGE_SCHEDULED_TASKS 182
#define IDI_PAGE_COOKIES 183
#define IDI_PAGE_HIDDEN_FILES 198
#define IDI_PAGE_DELAYED_START 200

// Pictures loaded at start.
#define IDB_HELP 133
#define IDB_HELP_PRESSED 134
#define IDB_HELP_HOVER 135
#define IDB_MONITOR_OFF 154
#define IDB_MONITOR_PRESSED 155
#define IDB_MONITOR_ON 156
#define IDB_MONITOR_REALTIME 193
#define IDB_COOKIE_1 158  // a cookie
#define IDB_COOKIE_2 159  // a cookie to keep (green tick)
#define IDB_COOKIE_3 160  // a cookie to remove (bitten, red cross)
#define IDB_MESSAGE 161   // the message dialog's warning sign

// Message dialog: a picture, one text line and OK.
#define IDD_MESSAGE 184
#define IDC_MESSAGE_PICTURE 1130
#define IDC_MESSAGE_TEXT 1131

// Default-condition warning before a protected startup entry is removed.
#define IDD_DEFAULT_WARNING 194
#define IDC_WARNING_COMMAND 1150
#define IDC_WARNING_TEXT 1151
#define IDC_WARNING_FILE 1152
#define IDC_WARNING_CONFIRM 1153

#define IDW_EVENT_SOUND 203
