// The finance store library in one include: opening and closing the store, the table cursors of every
// table, transactions (load, save, delete), master records, budgets, currencies and rates, balances,
// identifiers, text forms, options, the error log and the notification block.
#pragma once

#include "Accounts.h"
#include "Amount.h"
#include "Budgets.h"
#include "Catalogue.h"
#include "Categories.h"
#include "CurrencyCache.h"
#include "DateTime.h"
#include "ErrorLog.h"
#include "FinanceStore.h"
#include "Identifiers.h"
#include "NotificationBlock.h"
#include "Operation.h"
#include "Options.h"
#include "Payees.h"
#include "Projects.h"
#include "RegionalSettings.h"
#include "ResourceText.h"
#include "StoreAlert.h"
#include "StoreStatus.h"
#include "TableCursor.h"
#include "TransactionRecord.h"
#include "TransactionStore.h"
