#include "dataset/Field.h"
