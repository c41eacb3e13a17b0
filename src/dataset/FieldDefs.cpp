#include "dataset/FieldDefs.h"
