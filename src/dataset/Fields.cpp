#include "dataset/Fields.h"
