#pragma once

// Protections that must be in place before the launcher does anything else:
// no DLL from the launcher's own folder (a download folder may hold planted
// ones), no system dialog when a disc is ejected, and termination on heap
// corruption.
void HardenProcess();
