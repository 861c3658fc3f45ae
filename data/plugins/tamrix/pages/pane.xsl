<?xml version="1.0" encoding="UTF-8"?>
<xsl:stylesheet version="1.0" xmlns:xsl="http://www.w3.org/1999/XSL/Transform"
    xmlns:str="http://exslt.org/strings" exclude-result-prefixes="str">
<xsl:output method="html" encoding="UTF-8" doctype-system="about:legacy-compat"/>
<xsl:define name="content_type" value="text/html"/>
<xsl:include href="common.xsl"/>
<!-- The side pane's page: the newest clips, then the folders, categories and sites with
     their clip counts. Links open in the main browser window; a right click on a list
     item opens its menu. -->
<Tarn name="repository" database="Tamrix/tamrix.db">
  <request name="*" method="SQL"
           value="select id, title, site, folder, substr(datetime(createTime, 'localtime'), 1, 16) as created from entry order by createTime desc, rowid desc limit 15"/>
  <request name="folders" method="SQL"
           value="select folder as name, count(*) as n from entry where folder != '' group by folder order by folder collate local"/>
  <request name="categories" method="SQL"
           value="select category as name, count(*) as n, length(category) - length(replace(category, '/', '')) as depth from entry where category != '' group by category order by category collate local"/>
  <request name="sites" method="SQL"
           value="select site as name, count(*) as n from entry where site != '' group by site order by n desc, site limit 30"/>
</Tarn>

<xsl:template match="/">
  <html lang="en">
    <head>
      <title>Tamrix</title>
      <xsl:call-template name="style"/>
      <xsl:call-template name="script"/>
    </head>
    <body class="pane">
      <div class="main">
        <h2>Latest</h2>
        <xsl:call-template name="entry-list">
          <xsl:with-param name="items" select="/repository/item"/>
          <xsl:with-param name="empty">
            <strong>No clips yet.</strong>
            Press the Tamrix button on the toolbar and choose Save, or press Ctrl+S, to keep
            the page you are reading.
          </xsl:with-param>
        </xsl:call-template>
        <xsl:if test="/repository/item">
          <p class="count"><a href="tarn://tamrix/latest">All latest clips</a></p>
        </xsl:if>
        <xsl:call-template name="groups">
          <xsl:with-param name="heading">Folders</xsl:with-param>
          <xsl:with-param name="kind">folder</xsl:with-param>
          <xsl:with-param name="items" select="/repository/folders/item"/>
        </xsl:call-template>
        <xsl:call-template name="groups">
          <xsl:with-param name="heading">Categories</xsl:with-param>
          <xsl:with-param name="kind">category</xsl:with-param>
          <xsl:with-param name="items" select="/repository/categories/item"/>
        </xsl:call-template>
        <xsl:call-template name="groups">
          <xsl:with-param name="heading">Sites</xsl:with-param>
          <xsl:with-param name="kind">site</xsl:with-param>
          <xsl:with-param name="items" select="/repository/sites/item"/>
        </xsl:call-template>
      </div>
    </body>
  </html>
</xsl:template>

<!-- Folders, categories or sites: one line each with its clip count. -->
<xsl:template name="groups">
  <xsl:param name="heading"/>
  <xsl:param name="kind"/>
  <xsl:param name="items"/>
  <xsl:if test="$items">
    <h2><xsl:value-of select="$heading"/></h2>
    <ul class="groups">
      <xsl:for-each select="$items">
        <li path="@{$kind}/{name}">
          <xsl:if test="depth > 0">
            <xsl:attribute name="style">padding-left: <xsl:value-of select="depth"/>em</xsl:attribute>
          </xsl:if>
          <a href="tarn://tamrix/{$kind}?{str:encode-uri(name, true())}"><xsl:value-of select="name"/></a>
          <span class="n"><xsl:value-of select="n"/></span>
        </li>
      </xsl:for-each>
    </ul>
  </xsl:if>
</xsl:template>
</xsl:stylesheet>
