#include "services/RecordingList.h"

RecordingList::~RecordingList() = default;
