#include "platform/FileDialogService.h"

FileDialogService::~FileDialogService() = default;
