#include "dataset/DBGrid.h"
