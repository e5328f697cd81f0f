// Numbers of the library's resources and of the settings dialog's controls: the resource
// script and the dialog code both take them from here, so the two cannot drift apart.
#pragma once

#define IDD_SETTINGS 1
#define IDB_PICTURE 1000
#define IDV_VERSION 1

// Fields and buttons that the dialog code addresses.
#define IDC_X_SCALE 101
#define IDC_Y_SCALE 102
#define IDC_Z_SCALE 103
#define IDC_THRESHOLD 109
#define IDC_SHARPNESS 121
#define IDC_COLOR 113

// Static controls: labels, the about frame and the picture.
#define IDC_X_SCALE_LABEL 104
#define IDC_Y_SCALE_LABEL 105
#define IDC_Z_SCALE_LABEL 106
#define IDC_PICTURE 107
#define IDC_THRESHOLD_LABEL 110
#define IDC_INFO_FRAME 114
#define IDC_NAME_LABEL 115
#define IDC_LEGAL_NOTICE 116
#define IDC_CONTACT_ADDRESS 117
#define IDC_WEB_ADDRESS 118
#define IDC_TRADEMARK_NOTICE 119
#define IDC_COLOR_LABEL 120
#define IDC_SHARPNESS_LABEL 122
