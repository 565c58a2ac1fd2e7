#include "common/agent_layout.h"

#include "common/database_backend.h"
#include "common/payroll_layout.h"
#include "common/payroll_schema.h"
#include "common/text.h"

namespace veltrane {
namespace {

constexpr SqlDialect kPg = SqlDialect::kPostgresql;

std::string Q(std::string_view name) { return QuotedName(name, kPg); }

std::string Text(Database& db, const std::string& sql) {
  auto rs = db.OpenRecordset(sql, RecordsetType::kForwardOnly);
  std::string text = rs->IsEOF() ? "" : rs->Field("t").ToText();
  rs->Close();
  return text;
}

// The base table of one payroll table: the household column first, the
// layout's fields (the key given by the trigger below, not the server), a
// unique field unique within its household.
std::vector<std::string> BaseTable(const layout::Table& table) {
  const std::string base = "agent_rows." + Q(table.name);
  std::string sql = "CREATE TABLE " + base + " (household name NOT NULL DEFAULT current_user";
  std::string columns, unique;
  for (layout::Field field : table.fields) {
    columns += (columns.empty() ? "" : ", ") + Q(field.name);
    if (field.type == layout::FieldType::kKey) {
      sql += ", " + Q(field.name) + " bigint NOT NULL";
      continue;
    }
    if (field.unique) unique += ", UNIQUE (household, " + Q(field.name) + ")";
    field.unique = false;
    sql += ", " + layout::FieldDefinition(field, kPg);
  }
  std::vector<std::string> statements{sql + ", PRIMARY KEY (household, \"id\")" + unique + ")"};
  for (const layout::Index& index : table.indexes) {
    std::string fields;
    for (const char* field : index.fields) fields += ", " + Q(field);
    statements.push_back("CREATE INDEX " + Q(index.name) + " ON " + base + " (household" + fields +
                         ")");
  }
  // A row added without an ID takes the next of its household. The lock
  // keeps two connections of one household from taking the same number
  // (a pay run writes each household from one connection, but a household
  // may be written by its own program meanwhile).
  const std::string function = "agent_rows." + Q(std::string("next id of ") + table.name);
  statements.push_back("CREATE FUNCTION " + function +
                       "() RETURNS trigger LANGUAGE plpgsql AS $$ BEGIN IF NEW.id IS NULL THEN "
                       "PERFORM pg_advisory_xact_lock(1448100186, hashtext(NEW.household)); "
                       "SELECT coalesce(max(id), 0) + 1 INTO NEW.id FROM " +
                       base + " WHERE household = NEW.household; END IF; RETURN NEW; END $$");
  statements.push_back("CREATE TRIGGER \"next id\" BEFORE INSERT ON " + base +
                       " FOR EACH ROW EXECUTE FUNCTION " + function + "()");
  statements.push_back("ALTER TABLE " + base + " ENABLE ROW LEVEL SECURITY");
  statements.push_back("ALTER TABLE " + base + " FORCE ROW LEVEL SECURITY");
  statements.push_back("CREATE POLICY \"own rows\" ON " + base +
                       " USING (household = current_user) WITH CHECK (household = current_user)");
  // The view runs with the rights of whoever reads it, so the policy is
  // the reader's.
  const std::string view = "household." + Q(table.name);
  statements.push_back("CREATE VIEW " + view + " WITH (security_invoker = true) AS SELECT " +
                       columns + " FROM " + base);
  const std::string rights = " GRANT SELECT, INSERT, UPDATE, DELETE ON ";
  statements.push_back(rights + base + " TO " + kHouseholdsGroup);
  statements.push_back(rights + view + " TO " + kHouseholdsGroup);
  return statements;
}

}  // namespace

bool HasAgentLayout(Database& agent) {
  return !Text(agent, "SELECT 'y' AS t FROM pg_namespace WHERE nspname = 'agent'").empty();
}

void CreateAgentLayout(Database& agent) {
  DatabaseBackend& backend = BackendOf(agent);
  if (backend.dialect() != kPg)
    throw DatabaseError("an agent's households are kept on a PostgreSQL server");
  TransactionScope tx(agent);
  if (HasAgentLayout(agent)) return;
  const std::string citext =
      Text(agent,
           "SELECT extnamespace::regnamespace::text AS t FROM pg_extension WHERE "
           "extname = 'citext'");
  if (!citext.empty()) {
    throw DatabaseError("the database has the citext extension in the schema " + citext +
                        " already; make the agent's households in a new database");
  }
  // The group is the server's, shared by its agents' databases; another
  // may be making it at the same time.
  const std::string group_exists =
      std::string("SELECT 'y' AS t FROM pg_roles WHERE rolname = '") + kHouseholdsGroup + "'";
  if (Text(agent, group_exists).empty()) {
    try {
      backend.ExecuteNative(std::string("CREATE ROLE ") + kHouseholdsGroup + " NOLOGIN");
    } catch (const DatabaseError&) {
      if (Text(agent, group_exists).empty()) throw;
    }
  }
  // Households may create nothing, in the public schema either.
  for (const char* sql :
       {"REVOKE CREATE ON SCHEMA public FROM PUBLIC", "CREATE SCHEMA agent",
        "CREATE SCHEMA agent_rows", "CREATE SCHEMA household",
        "CREATE EXTENSION citext SCHEMA household", "SET LOCAL search_path TO household",
        "CREATE DOMAIN household.currency AS bigint",
        "CREATE TABLE agent.households (number bigint PRIMARY KEY, "
        "role name NOT NULL UNIQUE, name text NOT NULL, ein text NOT NULL)",
        "CREATE TABLE household.payroll_stamp (application_id integer NOT NULL, user_version "
        "integer NOT NULL)"})
    backend.ExecuteNative(sql);
  backend.ExecuteNative("INSERT INTO household.payroll_stamp VALUES (" +
                        std::to_string(kPayrollApplicationId) + ", " +
                        std::to_string(kPayrollLayoutVersion) + ")");
  for (const layout::Table& table : layout::PayrollTables()) {
    for (const std::string& sql : BaseTable(table)) backend.ExecuteNative(sql);
  }
  backend.ExecuteNative(std::string("GRANT USAGE ON SCHEMA agent_rows, household TO ") +
                        kHouseholdsGroup);
  backend.ExecuteNative(std::string("GRANT SELECT ON household.payroll_stamp TO ") +
                        kHouseholdsGroup);
  tx.Commit();
}

std::string AddHouseholdRole(Database& agent, const std::string& name, const std::string& ein) {
  DatabaseBackend& backend = BackendOf(agent);
  TransactionScope tx(agent);
  backend.ExecuteNative("LOCK TABLE agent.households IN EXCLUSIVE MODE");
  const std::string number =
      Text(agent, "SELECT (coalesce(max(number), 0) + 1)::text AS t FROM agent.households");
  const std::string oid =
      Text(agent, "SELECT oid::text AS t FROM pg_database WHERE datname = current_database()");
  const std::string role = "h_" + oid + "_" + number;
  agent.Execute("INSERT INTO agent.households (number, role, name, ein) VALUES (" + number + ", '" +
                role + "', '" + QuoteName(name) + "', '" + QuoteName(ein) + "')");
  // A household logs in (or the agent takes its role) and finds its tables
  // on its path; it may do nothing its group may not.
  backend.ExecuteNative("CREATE ROLE " + role + " LOGIN IN ROLE " + kHouseholdsGroup);
  backend.ExecuteNative("ALTER ROLE " + role + " SET search_path TO household");
  backend.ExecuteNative("GRANT " + role + " TO CURRENT_USER");
  tx.Commit();
  return role;
}

void RemoveHouseholdRole(Database& agent, const std::string& role) {
  TransactionScope tx(agent);
  agent.Execute("DELETE FROM agent.households WHERE role = '" + QuoteName(role) + "'");
  BackendOf(agent).ExecuteNative("DROP ROLE " + Q(role));
  tx.Commit();
}

}  // namespace veltrane
