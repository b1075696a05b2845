#pragma once
// quarin-z17ctl's dpi and rate commands, through the same mouse object and calls the window's
// DPI panel handlers use. KIND is mouse (by cable, else through its receiver) or
// mouse-receiver; the mouse must be connected (the DPI scale is in its information block).
//
//   dpi KIND                  the selected profile's stages, one per line: stage, enable flag,
//                             slider position, counts per inch, colour (RRGGBB), and "*" after
//                             the current stage.
//   dpi KIND STAGE CPI        stage STAGE (0-4) takes the position of CPI counts per inch, as
//                             the DPI edit box turns a typed value into one (below the lowest
//                             DPI the lowest, above the highest the highest).
//   dpi KIND --select STAGE   makes STAGE the current stage; a stage that is switched off is
//                             refused, as the panel offers no way to select one.
//   rate KIND                 the report-rate index (0-4).
//   rate KIND INDEX           sets it.
//
// A change is stored in the selected profile, saved, then the configuration block is written
// to the mouse and the result printed as without the change.
//
// Exit codes: kExitOk; kExitUsage for a malformed command or a value out of range (nothing is
// changed); kExitFailed when the mouse is not there, the profile cannot be read or written, or
// the mouse refuses the block.

#include "ctl/CtlCommands.h"

#include <string>
#include <vector>

namespace ctl {

// `args` are the words after "dpi" / "rate".
int RunDpiCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                  const Output& output);
int RunRateCommand(transport::HidBackend& backend, const std::vector<std::string>& args,
                   const Output& output);

} // namespace ctl
