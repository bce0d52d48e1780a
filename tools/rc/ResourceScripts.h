// Dialogs, menus and accelerator tables from resource scripts, in the module folder's
//   dialogs/*.rc       DIALOG (or DIALOGEX) statements -> RT_DIALOG (DLGTEMPLATE with items)
//   menus/*.rc         MENU statements                 -> RT_MENU (MENUITEMTEMPLATEHEADER and items)
//   accelerators/*.rc  ACCELERATORS statements         -> RT_ACCELERATOR (8-byte entries)
// The statements are a subset of the classic resource-script language (see resources/README.md).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "CompiledResource.h"
#include "Diagnostics.h"
#include "ScriptParser.h"

namespace rc {

constexpr uint16_t kMenuType = 4;
constexpr uint16_t kDialogType = 5;
constexpr uint16_t kAcceleratorType = 9;

// Each reads the statement's body after "<name> <KIND>" and returns the resource bytes; a problem
// throws ScriptError.
std::vector<uint8_t> compileDialog(TokenStream& tokens);
std::vector<uint8_t> compileMenu(TokenStream& tokens);
std::vector<uint8_t> compileAccelerators(TokenStream& tokens);

// Compiles every script of the three folders of moduleFolder (missing folders are fine) and appends
// the resources. Every problem is reported as "file:line: error: reason"; a resource with a problem
// is left out and the next one is read.
// Compiles the text of one script as if it were a file of the folder ("dialogs", "menus" or
// "accelerators") and appends its resources, reporting problems under fileName as the folders do.
// False, with nothing done, for another folder name.
bool compileScriptText(const std::string& source, const std::string& folder, const std::string& fileName,
                       std::vector<CompiledResource>* out, Diagnostics& diagnostics);

void compileScriptFolders(const std::filesystem::path& moduleFolder, std::vector<CompiledResource>* out,
                          Diagnostics& diagnostics);

}  // namespace rc
