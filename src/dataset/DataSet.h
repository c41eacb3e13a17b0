// TDataSet: an ordered set of records with a cursor and a fixed list of
// typed, named fields. TQuery (Query.h) and TClientDataSet
// (ClientDataSet.h) are the concrete kinds; both keep their records in
// memory (RecordStore.h).
//
// State: dsInactive when closed; when open dsBrowse, or dsEdit / dsInsert
// while a record is being changed (dsSetKey is part of the enumeration but
// no operation here enters it). Operations that need an open dataset raise
// EDatabaseError "Cannot perform this operation on a closed dataset".
//
// Cursor rules:
//   Open makes the dataset active on its first record; Open of an active
//   dataset and Close of an inactive one do nothing.
//   First: Eof is then true exactly when the dataset is empty.
//   Next at the last record sets Eof and stays on that record.
//   Delete removes the current record; the cursor moves to the following
//   record, or sets Eof (staying on the new last record) when none follows.
//   Moving (First, Next, Locate, GotoBookmark, ...) while a record is being
//   changed posts it first when fields were changed, else cancels it.
// Costs: First, Last, Next, Prior, Append/Post, Edit/Post and Delete (of
//   any record) are O(1) (amortised); RecNo after a Locate or GotoBookmark,
//   SetRecNo and TRecordPeek are O(log n) once records were deleted, O(1)
//   before. Locate by key is O(1) on average after its first call.
// Changes:
//   Append adds an empty record at the end (on Post) and enters dsInsert;
//   Edit enters dsEdit on the current record (Append on an empty dataset);
//   Post checks Required fields ("Field '%s' must have a value"), writes
//   the record and returns to dsBrowse, the written record current;
//   Cancel discards the changes. Post outside dsEdit / dsInsert raises
//   "Dataset not in edit or insert mode". Datasets that cannot be changed
//   (CanModify false) raise "Cannot modify a read-only dataset".
// Fields: FindField compares names without regard to case (hash lookup);
//   FieldByName raises EDatabaseError "Field '%s' not found". Fields are
//   made from FieldDefs when the dataset opens and destroyed when it
//   closes: do not keep field pointers across Close.
// Bookmarks stay valid while the dataset is open and survive edits and
//   deletes of other records; going to a bookmark whose record was deleted
//   (or that comes from an earlier opening) raises EDatabaseError "Record
//   not found". A null bookmark (of an empty or closed dataset) is ignored
//   by GotoBookmark. Bookmark() / SetBookmark() give and take the same
//   bookmark as a text, the form grids keep their selected rows in.
// Unidirectional datasets (IsUniDirectional; a forward-only TQuery) hold
//   only the records near the cursor: Next moves on through them, and the
//   records left behind are gone. First is allowed only before the first
//   Next (it stays on the first record); Last, Prior, SetRecNo, bookmarks
//   (GetBookmark, Bookmark, GotoBookmark, SetBookmark), Locate and
//   TRecordPeek raise EDatabaseError "Operation not allowed on a
//   unidirectional dataset" (BookmarkValid is false). RecordCount is -1
//   until Eof has been reached, then the number of records; RecNo and
//   IsEmpty are always known.
// Controls: data sources (DataSource.h) attached to the dataset hear of
//   every move and change unless DisableControls is in force; the counter
//   nests, and the EnableControls that brings it back to 0 sends one
//   deDataSetChange so attached controls refresh.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/Component.h"
#include "core/StrUtils.h"
#include "core/Variant.h"
#include "dataset/Field.h"
#include "dataset/FieldDefs.h"
#include "dataset/RecordStore.h"

namespace Vdei {

class KeyIndex;
struct KeyColumn;
class TDataSource;

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey };

// What a data source is told (DataSource.h).
enum TDataEvent {
  deFieldChange,    // a field of the current record changed (info: the field)
  deRecordChange,   // the current record was written or its changes discarded
  deDataSetChange,  // records were added or removed, or everything must refresh
  deDataSetScroll,  // the cursor moved
  deLayoutChange,   // the fields changed (open, close)
  deUpdateState,    // State changed
};

// An opaque handle to a record; copyable, null by default.
class TBookmark {
 public:
  bool IsNull() const { return value_ == 0; }
  bool operator==(const TBookmark&) const = default;

 private:
  friend class TDataSet;
  uint64_t value_ = 0;
};

using TBookmarkStr = std::string;

class TDataSet : public TComponent {
 public:
  VDEI_CLASS(TDataSet)
  explicit TDataSet(TComponent* owner);
  ~TDataSet() override;

  void Open();
  void Close();
  bool Active() const { return state_ != dsInactive; }
  void SetActive(bool active) { active ? Open() : Close(); }
  TDataSetState State() const { return state_; }
  // Whether records can be added, changed and deleted.
  virtual bool CanModify() const { return true; }
  // Whether a text longer than a string field's Size is cut to it (else
  // it raises, naming the field and the text).
  virtual bool CutsLongStrings() const { return true; }
  // Whether only the records near the cursor are held (see above).
  virtual bool IsUniDirectional() const { return false; }

  // Batches of changes. A dataset that writes through to a database makes
  // the changes between StartTransaction and Commit one transaction
  // (Rollback undoes them all), and the changes between BeginRow and
  // ReleaseRow one unit that RollbackRow undoes alone, keeping the
  // transaction usable. An in-memory dataset has nothing to undo: all six
  // do nothing and InTransaction is false.
  virtual void StartTransaction() {}
  virtual void Commit() {}
  virtual void Rollback() {}
  virtual bool InTransaction() const { return false; }
  virtual void BeginRow() {}
  virtual void ReleaseRow() {}
  virtual void RollbackRow() {}

  // Fields, in field order.
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField* Fields(int index) const;  // EListError outside 0..FieldCount-1
  TField* FindField(std::string_view name) const;
  TField* FieldByName(std::string_view name) const;
  TFieldDefs* FieldDefs() const { return fieldDefs_.get(); }

  // The value of the named field; names separated by ";" give an array
  // (from 0) of their values in the order named.
  Variant FieldValues(std::string_view fieldNames) const;
  // Sets the named field; with several names the value must be an array
  // with one element per name.
  void SetFieldValues(std::string_view fieldNames, const Variant& value);

  void DisableControls();
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }

  void First();
  void Last();
  void Next();
  void Prior();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const;
  int RecordCount() const;
  // Position of the current record from 1 (0 on an empty dataset or while
  // a record is being appended); SetRecNo moves there.
  int RecNo() const;
  void SetRecNo(int recNo);

  TBookmark GetBookmark() const;
  void GotoBookmark(const TBookmark& bookmark);
  void FreeBookmark(TBookmark& bookmark) { bookmark = TBookmark(); }
  bool BookmarkValid(const TBookmark& bookmark) const;
  TBookmarkStr Bookmark() const;
  void SetBookmark(std::string_view bookmark);

  void Append();
  void Edit();
  void Post();
  void Cancel();
  void Delete();
  // Posts or cancels a record being changed (see the header comment).
  void CheckBrowseMode();
  // Whether a field of the record being changed was written.
  bool Modified() const { return modified_; }

  // Finds the first record whose key fields (names separated by ";") equal
  // the values: one value for one name, else an array with one element per
  // name (one-element arrays are taken for one name too). Exact and
  // case-sensitive; Null matches only null fields; numbers compare by value
  // across kinds. A found record becomes current and true is returned; on
  // no match the cursor stays. Unknown names raise "Field '%s' not found".
  // The first Locate on a list of key fields builds a hash index of the
  // records by them (KeyIndex.h), kept current by Post and Delete and
  // dropped on Close and when the records are replaced, so later calls do
  // not scan; key values of a kind the index cannot hash for their field
  // (a string for a number field...) are found by a scan.
  bool Locate(std::string_view keyFields, const Variant& keyValues);

  // Bytes held for the records, their texts and ids (memory figures).
  size_t RecordBytes() const { return store_.BytesReserved(); }

  // The current record's words for the fields, nullptr when there is none
  // (closed, or empty and not inserting). For TField. While a TRecordPeek
  // is in force, the words of the peeked record instead.
  const RecordWord* CurrentRow() const;
  const RecordLayout& Layout() const { return store_.Layout(); }
  // Changes whenever the fields are made, destroyed or renamed; no two
  // field lists of any datasets in the process share a value. A field
  // pointer found by name under one value stays valid, with that name,
  // while the dataset still has that value.
  uint32_t FieldsGeneration() const { return fieldsGeneration_; }

 protected:
  // Fills FieldDefs and the records; the base then makes the fields.
  virtual void InternalOpen() = 0;
  // Called after the fields are gone; the base clears nothing else.
  virtual void InternalClose() {}
  // Whether Close keeps the records for the next Open (an in-memory
  // table), or the store is released (a query).
  virtual bool KeepsRecordsWhenClosed() const { return false; }
  // Writes a record where the dataset keeps its data, before its records
  // change: original is the stored record (nullptr when appending), row
  // the new values, whose slots the hook may fill (values the database
  // gave, slots past the fields). A raise leaves the record being changed.
  virtual void InternalPost(const RecordWord* /*original*/, RecordWord* /*row*/) {}
  // Deletes a record where the dataset keeps its data, before it goes.
  virtual void InternalDelete(const RecordWord* /*row*/) {}
  // For a unidirectional dataset: puts the records that follow the
  // current ones into the store (TakeRecords); false at the end.
  virtual bool FetchNextRecords() { return false; }
  // Replaces the records by these (of the same layout).
  void TakeRecords(RecordStore&& records);

  RecordStore& Store() { return store_; }
  // Called by subclasses that replace all records while open.
  void RecordsReplaced();
  void CheckActive() const;
  void DataEvent(TDataEvent event, TField* field = nullptr);

 private:
  friend class TField;
  friend class TDataSource;

  void CreateFields();
  void DestroyFields();
  void CheckCanModify() const;
  void CheckNotEmpty() const;
  void CheckBidirectional() const;
  // Next past the last record held: the records that follow, if any.
  bool MoveToNextRecords();
  void SetState(TDataSetState state);
  // Makes a record current; position is its position or -1 when unknown.
  void MoveToRecord(uint32_t id, int64_t position);
  void SetCursor(uint32_t id, int64_t position);
  size_t CursorPosition() const;
  void CheckRequiredFields() const;
  uint64_t BookmarkValue(uint32_t id) const;
  // The live record a bookmark names, or RecordStore::kNoRecord.
  uint32_t RecordOfBookmark(const TBookmark& bookmark) const;
  std::vector<TField*> FieldsOf(std::string_view fieldNames) const;
  void FillAutoIncFields();
  // Releases the texts written into the record being changed.
  void AbandonEditRow();
  // For TField: writing a slot of the record being changed (and telling
  // data sources), and a field's new name.
  void WriteField(TField* field, RecordWord slot, bool isNull);
  void RenameField(TField* field, const std::string& name);
  // Key indexes (DataSetLocate.cpp).
  KeyIndex& IndexFor(const std::vector<KeyColumn>& columns);
  void IndexAdded(uint32_t id);
  void IndexChanging(uint32_t id, const RecordWord* newRow);
  void IndexRemoving(uint32_t id);
  void DropIndexes();
  uint32_t FindKey(const std::vector<TField*>& fields, const std::vector<Variant>& keys);
  bool RecordMatches(uint32_t id, const std::vector<TField*>& fields,
                     const std::vector<Variant>& keys);

  TDataSetState state_ = dsInactive;
  std::unique_ptr<TFieldDefs> fieldDefs_;
  std::vector<std::unique_ptr<TField>> fields_;
  std::unordered_map<std::string, TField*, TextHash, TextEqual> fieldsByName_;
  RecordStore store_;
  std::vector<RecordWord> editRow_;
  std::vector<std::unique_ptr<KeyIndex>> indexes_;
  uint32_t cursorId_ = RecordStore::kNoRecord;  // the current record
  mutable int64_t cursorPosition_ = -1;         // its position, -1 until asked
  bool eof_ = true;
  bool bof_ = true;
  int64_t recordsPassed_ = 0;  // unidirectional: records released before these
  bool movedOn_ = false;       // unidirectional: Next has moved the cursor
  bool modified_ = false;
  uint32_t generation_ = 0;
  uint32_t fieldsGeneration_ = 0;  // tells bookmarks (and fields) of an earlier opening apart
  int disableCount_ = 0;
  bool layoutChangedWhileDisabled_ = false;
  std::vector<TDataSource*> dataSources_;
  const RecordWord* peekRow_ = nullptr;  // set by TRecordPeek

  friend class TRecordPeek;
};

// Lets the fields of a dataset in browse state read the record at a
// position (from 0, below RecordCount) without moving the cursor: while the
// peek lives, every reading of the dataset's fields (Value, AsString,
// DisplayText...) sees that record. Nothing is sent to data sources and
// the state does not change. Peeks do not nest; the dataset must not be
// changed, moved or closed while one lives. Raises EDatabaseError outside
// dsBrowse and EListError for a position out of range.
class TRecordPeek {
 public:
  TRecordPeek(const TDataSet& dataSet, int position);
  ~TRecordPeek();
  TRecordPeek(const TRecordPeek&) = delete;
  TRecordPeek& operator=(const TRecordPeek&) = delete;

 private:
  TDataSet& dataSet_;
};

}  // namespace Vdei
