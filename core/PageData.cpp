#include "PageData.h"

#include <utility>

namespace {
long liveRecords = 0;
}

PageData::PageData() : Body(std::make_unique<TStringStream>()) { ++liveRecords; }

PageData::PageData(const std::string& body) : Body(std::make_unique<TStringStream>(body)) { ++liveRecords; }

PageData::PageData(std::string&& body) : Body(std::make_unique<TStringStream>(std::move(body))) { ++liveRecords; }

PageData::~PageData() { --liveRecords; }

void PageData::SetBodyText(const std::string& text) { Body = std::make_unique<TStringStream>(text); }

long PageData::LiveCount() { return liveRecords; }
