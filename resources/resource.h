// Resource ids shared by the program's code and its resource script.
#pragma once

#define IDI_TOVREL 101

// Pictures loaded at start.
#define IDB_HELP 133
#define IDB_HELP_PRESSED 134
#define IDB_HELP_HOVER 135
#define IDB_MONITOR_OFF 154
#define IDB_MONITOR_PRESSED 155
#define IDB_MONITOR_ON 156
#define IDB_MONITOR_REALTIME 193
#define IDB_COOKIE_1 158
#define IDB_COOKIE_2 159
#define IDB_COOKIE_3 160
#define IDB_MESSAGE 161

// Message dialog: a picture, one text line and OK.
#define IDD_MESSAGE 184
#define IDC_MESSAGE_PICTURE 1130
#define IDC_MESSAGE_TEXT 1131

#define IDW_EVENT_SOUND 203
