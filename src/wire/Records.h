#pragma once

// Every session record, for code that handles many of them (the dispatcher, the server).
#include "wire/AccountData.h"
#include "wire/ClientRecord.h"
#include "wire/ClientStatusPack.h"
#include "wire/ClientSystemRecord.h"
#include "wire/FileInfo.h"
#include "wire/LogOnRecords.h"
#include "wire/PingPacket.h"
#include "wire/RoomHeader.h"
#include "wire/TextMessage.h"
#include "wire/UserItem.h"
