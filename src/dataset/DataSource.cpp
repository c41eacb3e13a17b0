#include "dataset/DataSource.h"
