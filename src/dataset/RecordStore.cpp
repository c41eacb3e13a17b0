#include "dataset/RecordStore.h"
