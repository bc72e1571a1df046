// Resource numbers shared by the resource script and the code.
#pragma once

#define IDI_APPLICATION_ICON 1   // the ten-image application icon; also the exe's file icon
