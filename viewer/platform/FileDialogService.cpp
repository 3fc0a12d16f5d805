#include "FileDialogService.h"

FileDialogService::~FileDialogService() = default;
