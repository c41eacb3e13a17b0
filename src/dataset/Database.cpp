#include "dataset/Database.h"
