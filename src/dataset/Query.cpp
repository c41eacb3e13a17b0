#include "dataset/Query.h"
