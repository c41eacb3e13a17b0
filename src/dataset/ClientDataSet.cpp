#include "dataset/ClientDataSet.h"
